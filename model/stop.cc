#include "model/stop.h"

namespace fxt {

Stop* Stop::Init() {
  *this = Stop{};
  return this;
}

void Stop::Destroy() {
  entries.reset();
  FreeLabel();
}

bool Stop::AppendEntry(const StopEntry& entry) { return GrowByOne(entries, entryCount, entry); }

bool Stop::AppendEntries(std::span<const StopEntry> added) {
  return GrowBy(entries, entryCount, added);
}

bool Stop::AddEntry8(uint8_t attribute, uint8_t low, uint8_t high, uint8_t flag) {
  return AppendEntry(Entry8(attribute, low, high, flag));
}

bool Stop::AddEntry16(uint8_t attribute, uint16_t low, uint16_t high, uint8_t flag) {
  return AppendEntry(Entry16(attribute, low, high, flag));
}

void Stop::SetLabel(std::string_view text) { label.Set(text, DisplayLabels); }

void Stop::SelectEntry(uint8_t index) {
  if (index >= entryCount) return;
  selectedEntry = index;
  const StopEntry& entry = entries[index];
  midValue = static_cast<uint16_t>((uint32_t{entry.low} + entry.high) / 2);
}

Stop* NthStop(Stop* first, int32_t n) { return NthNode(first, n); }

const Stop* NthStop(const Stop* first, int32_t n) { return NthNode(first, n); }

}  // namespace fxt
