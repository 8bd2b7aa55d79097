// Which codes a run reports: --select and --ignore, each a list of codes or
// code prefixes ("FL" for every rule, "FT3" for the attribute blocks).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reader/catalogue.h"

namespace fxt {

class CodeFilter {
 public:
  // Adds the comma-separated codes or prefixes; false, with the first one
  // that names no code in `unknown`, when one does not (an empty one names
  // none).
  bool Select(std::string_view list, std::string& unknown);
  bool Ignore(std::string_view list, std::string& unknown);

  bool Reports(const CatalogueEntry& entry) const;
  // Whether any lint rule is reported at all.
  bool ReportsAnyRule() const;

 private:
  std::vector<std::string> selected_;  // empty: every code
  std::vector<std::string> ignored_;

  static bool Add(std::string_view list, std::vector<std::string>& to, std::string& unknown);
};

// Whether `code` begins with one of the prefixes.
bool MatchesAny(std::string_view code, const std::vector<std::string>& prefixes);

}  // namespace fxt
