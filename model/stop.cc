#include "model/stop.h"

#include <algorithm>
#include <new>

namespace fxt {

Stop* Stop::Init() {
  *this = Stop{};
  return this;
}

void Stop::Destroy() {
  entries.reset();
  FreeLabel();
}

bool Stop::AppendEntry(const StopEntry& entry) {
  if (entryCount >= MAX_STOP_ENTRIES) return false;
  std::unique_ptr<StopEntry[]> grown(new (std::nothrow) StopEntry[entryCount + 1]);
  if (grown == nullptr) return false;
  std::copy_n(entries.get(), entryCount, grown.get());
  grown[entryCount] = entry;
  entries = std::move(grown);
  ++entryCount;
  return true;
}

namespace {
uint8_t FlagR(uint8_t flag) { return flag == 1 ? 1 : 0; }
}  // namespace

bool Stop::AddEntry8(uint8_t attribute, uint8_t low, uint8_t high, uint8_t flag) {
  return AppendEntry(
      {static_cast<uint16_t>(low << 8), static_cast<uint16_t>(high << 8), attribute, FlagR(flag)});
}

bool Stop::AddEntry16(uint8_t attribute, uint16_t low, uint16_t high, uint8_t flag) {
  return AppendEntry({low, high, attribute, FlagR(flag)});
}

void Stop::SetLabel(const char* text) { label.Set(text, DisplayLabels); }

void Stop::SelectEntry(uint8_t index) {
  if (index >= entryCount) return;
  selectedEntry = index;
  const StopEntry& entry = entries[index];
  midValue = static_cast<uint16_t>((uint32_t{entry.low} + entry.high) / 2);
}

Stop* NthStop(Stop* first, int32_t n) {
  Stop* stop = first;
  for (int32_t i = 1; i < n && stop->next != nullptr; ++i) stop = stop->next.get();
  return stop;
}

}  // namespace fxt
