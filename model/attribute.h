// One controllable property of a fixture (pan, tilt, a colour wheel ...):
// its DMX channels, home value, limits and kind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/further_nodes.h"
#include "model/record_pool.h"
#include "model/table_name.h"

namespace fxt {

inline constexpr int16_t DEFAULT_MAX_VALUE = 256;
inline constexpr uint8_t NO_FINE_CHANNEL = 255;

// Kind codes, shared by attributes and parameters where the letters agree.
inline constexpr uint8_t KIND_NONE = 0;
inline constexpr uint8_t KIND_INTENSITY = 2;
inline constexpr uint8_t KIND_F = 3;  // type f, or an attribute named PAN
inline constexpr uint8_t KIND_B = 4;
inline constexpr uint8_t KIND_C = 5;
inline constexpr uint8_t KIND_N = 7;  // parameters only
inline constexpr uint8_t KIND_INTENSITY_LISTED = 8;

struct Attribute : PooledRecord<Attribute> {
  std::unique_ptr<Attribute> next;
  TableName typeName;
  int16_t channel = 0;  // DMX channel minus one
  uint16_t homeValue = 0;
  int16_t maxValue = DEFAULT_MAX_VALUE;
  uint8_t minValue = 0;
  uint8_t fineChannel = NO_FINE_CHANNEL;  // fine DMX channel minus one
  uint8_t reservedFlag : 1 = 0;
  uint8_t kind : 4 = KIND_NONE;
  // The line of the file that declared it, for the tools that point there.
  int32_t sourceLine = 0;

  Attribute* Init();
  // An attribute without a fine channel holds 8-bit DMX values.
  bool HasNoFineChannel() const { return fineChannel == NO_FINE_CHANNEL; }
  // The text up to its first NUL, as a C string reads it.
  void SetTypeName(std::string_view text);
  void FreeTypeName() { typeName.Free(); }
  void Destroy() { FreeTypeName(); }
};

// The n-th attribute from `first`, stopping at the last one; n <= 1 gives
// `first`.
Attribute* NthAttribute(Attribute* first, int n);
const Attribute* NthAttribute(const Attribute* first, int n);

}  // namespace fxt
