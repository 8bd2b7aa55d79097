#include "lint/shown_diagnostics.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "reader/message_format.h"

namespace fxt {
namespace {

bool ShowsBefore(const HeldDiagnostic& a, const HeldDiagnostic& b) { return a.ShowsBefore(b); }

// The tester's exact text, made again from its entry and line rather than
// held: a file may hold many.
std::string TesterMessage(const CatalogueEntry& entry, std::optional<int32_t> testerLine) {
  const size_t place = LineNumberPlace(entry.format);
  if (place == NO_LINE_NUMBER || !testerLine) return entry.format;
  std::array<char, MESSAGE_CAPACITY> message;  // filled by the formatting
  FormatLineNumber(message, entry.format, place, *testerLine);
  return message.data();
}

}  // namespace

bool HeldDiagnostic::ShowsBefore(const HeldDiagnostic& other) const {
  return std::tie(range.start, fromRule, order) <
         std::tie(other.range.start, other.fromRule, other.order);
}

ShownDiagnostics::ShownDiagnostics(LintSink& sink, size_t limit, bool inLineOrder)
    : sink_(sink), limit_(limit), inLineOrder_(inLineOrder) {}

bool ShownDiagnostics::Full() const {
  return limit_ != 0 && (inLineOrder_ ? held_.size() : passed_) >= limit_;
}

bool ShownDiagnostics::WouldShow(const HeldDiagnostic& probe) const {
  if (!Full()) return true;
  return inLineOrder_ && probe.ShowsBefore(held_.front());
}

bool ShownDiagnostics::Add(HeldDiagnostic diagnostic) {
  if (!WouldShow(diagnostic)) return false;
  if (!inLineOrder_) {
    ++passed_;
    PassOn(diagnostic);
    return true;
  }
  const bool displaces = Full();
  if (displaces) {
    std::ranges::pop_heap(held_, ShowsBefore);
    held_.back() = std::move(diagnostic);
  } else {
    held_.push_back(std::move(diagnostic));
  }
  std::ranges::push_heap(held_, ShowsBefore);
  return !displaces;
}

size_t ShownDiagnostics::Drop(const std::vector<uint64_t>& orders) {
  const size_t dropped = std::erase_if(held_, [&orders](const HeldDiagnostic& diagnostic) {
    return std::ranges::binary_search(orders, diagnostic.order);
  });
  std::ranges::make_heap(held_, ShowsBefore);
  return dropped;
}

void ShownDiagnostics::Finish(uint64_t order, const std::vector<Note>& extra) {
  std::ranges::sort_heap(held_, ShowsBefore);
  for (const HeldDiagnostic& diagnostic : held_) {
    PassOn(diagnostic, diagnostic.order == order ? &extra : nullptr);
  }
  held_.clear();
}

void ShownDiagnostics::PassOn(const HeldDiagnostic& diagnostic, const std::vector<Note>* extra) {
  std::vector<Note> withExtra;
  if (extra != nullptr && !extra->empty()) {
    withExtra = diagnostic.notes;
    withExtra.insert(withExtra.end(), extra->begin(), extra->end());
  }
  const std::vector<Note>& notes = withExtra.empty() ? diagnostic.notes : withExtra;
  const CatalogueEntry& entry = EntryOf(diagnostic.id);
  std::string message;
  std::optional<std::string_view> tester;
  if (!diagnostic.fromRule) tester = message = TesterMessage(entry, diagnostic.testerLine);
  const std::string_view text = diagnostic.fromRule ? diagnostic.ruleText : entry.summary;
  sink_.Diagnostic({entry, diagnostic.severity, diagnostic.promoted, diagnostic.testerLine,
                    diagnostic.range, text, tester, notes,
                    diagnostic.fix ? &*diagnostic.fix : nullptr});
}

}  // namespace fxt
