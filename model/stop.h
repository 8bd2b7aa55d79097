// One displayer stop of a parameter: a label, one value range per attribute of
// the parameter's list, a stop mode and the mouse-controlled entry.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "model/further_nodes.h"
#include "model/pooled_array.h"
#include "model/record_pool.h"
#include "model/table_name.h"

namespace fxt {

inline constexpr int16_t DEFAULT_DISPLAY_TO = 360;
inline constexpr uint8_t NO_ENTRY_SELECTED = 255;
inline constexpr int MAX_STOP_ENTRIES = 255;

inline constexpr int32_t STOP_MODE_NONE = 0;
inline constexpr int32_t STOP_MODE_B = 1;
inline constexpr int32_t STOP_MODE_W = 2;
inline constexpr int32_t STOP_MODE_1 = 3;
inline constexpr int32_t STOP_MODE_2 = 4;
inline constexpr int32_t STOP_MODE_3 = 5;
inline constexpr int32_t STOP_MODE_DISPLAY = 6;

// A value range on the 16-bit scale, for one attribute of the template.
struct StopEntry {
  uint16_t low = 0;
  uint16_t high = 0;
  uint8_t attribute = 0;
  uint8_t flagR = 0;
};

// The entry of an 8-bit attribute, its values shifted left by 8; of a 16-bit
// one, its values as they are. Only flag 1 sets flagR.
constexpr StopEntry Entry16(uint8_t attribute, uint16_t low, uint16_t high, uint8_t flag) {
  return {low, high, attribute, static_cast<uint8_t>(flag == 1 ? 1 : 0)};
}
constexpr StopEntry Entry8(uint8_t attribute, uint8_t low, uint8_t high, uint8_t flag) {
  return Entry16(attribute, static_cast<uint16_t>(low << 8), static_cast<uint16_t>(high << 8),
                 flag);
}

struct Stop : PooledRecord<Stop> {
  std::unique_ptr<Stop> next;
  TableName label;
  PooledArray<StopEntry> entries;
  uint16_t midValue = 0;
  int16_t displayFrom = 0;
  int16_t displayTo = DEFAULT_DISPLAY_TO;
  int32_t mode = STOP_MODE_NONE;
  uint8_t entryCount = 0;
  uint8_t selectedEntry = NO_ENTRY_SELECTED;
  int32_t sourceLine = 0;  // the stop line of the file

  Stop* Init();
  void Destroy();
  // Grows the entry array by exactly one; false when no memory could be had
  // or the stop already holds the most entries its 8-bit count allows.
  bool AppendEntry(const StopEntry& entry);
  // Appends several entries with one allocation, as many as the 8-bit count
  // allows; false when not all of them found room.
  bool AppendEntries(std::span<const StopEntry> added);
  // An 8-bit attribute's values, stored shifted left by 8.
  bool AddEntry8(uint8_t attribute, uint8_t low, uint8_t high, uint8_t flag);
  bool AddEntry16(uint8_t attribute, uint16_t low, uint16_t high, uint8_t flag);
  // The text up to its first NUL, as a C string reads it.
  void SetLabel(std::string_view text);
  void FreeLabel() { label.Free(); }
  // Selects the entry of the mouse-controlled attribute; an index at or past
  // the entry count changes nothing.
  void SelectEntry(uint8_t index);
};

// The n-th stop from `first`, stopping at the last one; n <= 1 gives `first`.
Stop* NthStop(Stop* first, int32_t n);
const Stop* NthStop(const Stop* first, int32_t n);

}  // namespace fxt
