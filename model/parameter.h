// One control of a fixture as the operator sees it: a type name, a kind, the
// attributes it drives, its displayer number and its stops.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/pooled_array.h"
#include "model/record_pool.h"
#include "model/stop.h"
#include "model/table_name.h"

namespace fxt {

inline constexpr uint8_t NO_DISPLAYER = 30;
inline constexpr int MAX_STOPS = 255;
inline constexpr int MAX_ATTRIBUTE_NUMBERS = 255;

struct Parameter : PooledRecord<Parameter> {
  Stop firstStop;
  Parameter* prev = nullptr;
  std::unique_ptr<Parameter> next;
  TableName typeName;
  int32_t kind = 0;
  uint8_t displayer = 0;  // set by the template's AddParameter
  uint8_t stopCount = 0;
  uint8_t attribCount = 0;
  PooledArray<uint8_t> attribList;
  FurtherNodes<Stop> furtherStops;
  int32_t sourceLine = 0;  // the line of the file that declared it

  // Resets every field but `displayer`, which the caller sets.
  Parameter* Init();
  // Releases the stops (last to second, then the first), the attribute
  // numbers and the type name, and takes the parameter out of its list by
  // joining its neighbours (its successor passes to its predecessor). A
  // parameter with a predecessor was owned by it: that ownership comes back,
  // and the parameter is freed when the caller lets it go.
  [[nodiscard]] std::unique_ptr<Parameter> Destroy();
  // Releases what Destroy releases and resets every field but the links and
  // `displayer`: a new parameter where this one stood in its list.
  void Renew();
  // The stop that the next stop line fills; null when no memory could be had
  // or the parameter holds the most stops its 8-bit count allows.
  Stop* AddStop();
  Stop* LastStop() { return &furtherStops.Last(firstStop); }
  // NthStop from the first, answered without walking the list.
  const Stop* StopAt(int n) const { return &furtherStops.At(firstStop, n); }
  bool AppendAttribute(uint8_t attributeNumber);
  // As many of the numbers as the 8-bit count has room for, in one piece;
  // none when no memory could be had. False when not all were appended.
  bool AppendAttributes(std::span<const uint8_t> attributeNumbers);
  // The text up to its first NUL, as a C string reads it.
  void SetTypeName(std::string_view text);
  void FreeTypeName() { typeName.Free(); }

 private:
  // The stops (last to second, then the first), the attribute numbers and
  // the type name.
  void ReleaseContents();
};

// The n-th parameter from `first`, stopping at the last one; n <= 1 gives
// `first`.
Parameter* NthParameter(Parameter* first, int n);
const Parameter* NthParameter(const Parameter* first, int n);

}  // namespace fxt
