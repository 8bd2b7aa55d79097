#include "lint/code_filter.h"

#include <algorithm>

namespace fxt {

bool MatchesAny(std::string_view code, const std::vector<std::string>& prefixes) {
  return std::ranges::any_of(
      prefixes, [code](const std::string& prefix) { return code.starts_with(prefix); });
}

bool CodeFilter::Add(std::string_view list, std::vector<std::string>& to, std::string& unknown) {
  while (!list.empty()) {
    const size_t comma = list.find(',');
    const std::string_view prefix = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    if (prefix.empty()) continue;
    const bool names = std::ranges::any_of(Catalogue, [prefix](const CatalogueEntry& entry) {
      return entry.code.starts_with(prefix);
    });
    if (!names) {
      unknown = prefix;
      return false;
    }
    to.emplace_back(prefix);
  }
  return true;
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
