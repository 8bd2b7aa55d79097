#include "lint/code_filter.h"

#include <algorithm>

namespace fxt {

bool MatchesAny(std::string_view code, const std::vector<std::string>& prefixes) {
  return std::ranges::any_of(
      prefixes, [code](const std::string& prefix) { return code.starts_with(prefix); });
}

// An empty item names no code: "" or "FT2," is refused like a typo, where
// it would quietly select every code, or none.
bool CodeFilter::Add(std::string_view list, std::vector<std::string>& to, std::string& unknown) {
  for (size_t begin = 0;;) {
    const size_t comma = list.find(',', begin);
    const std::string_view prefix =
        list.substr(begin, comma == std::string_view::npos ? comma : comma - begin);
    const bool names =
        !prefix.empty() && std::ranges::any_of(Catalogue, [prefix](const CatalogueEntry& entry) {
          return entry.code.starts_with(prefix);
        });
    if (!names) {
      unknown = prefix;
      return false;
    }
    to.emplace_back(prefix);
    if (comma == std::string_view::npos) return true;
    begin = comma + 1;
  }
}

bool CodeFilter::Select(std::string_view list, std::string& unknown) {
  return Add(list, selected_, unknown);
}

bool CodeFilter::Ignore(std::string_view list, std::string& unknown) {
  return Add(list, ignored_, unknown);
}

bool CodeFilter::Reports(const CatalogueEntry& entry) const {
  if (!selected_.empty() && !MatchesAny(entry.code, selected_)) return false;
  return !MatchesAny(entry.code, ignored_);
}

bool CodeFilter::ReportsAnyRule() const {
  return std::ranges::any_of(Catalogue, [this](const CatalogueEntry& entry) {
    return IsLintRule(entry) && entry.id != DiagnosticId::kUnusedSuppression && Reports(entry);
  });
}

}  // namespace fxt
