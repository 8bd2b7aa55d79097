#include "model/name_index.h"

#include <memory>
#include <vector>

namespace fxt {

NameIndex::NameIndex(NameTable table, Case comparison) : case_(comparison) {
  // emplace keeps an entry already there: the first of equal texts wins.
  for (size_t i = 0; i < table.size(); ++i) {
    if (case_ == Case::kExact) {
      exact_.emplace(table[i], static_cast<int>(i));
    } else {
      lowered_.emplace(Lowered(table[i]), static_cast<int>(i));
    }
  }
}

std::string NameIndex::Lowered(std::string_view text) {
  std::string key(text);
  for (char& c : key) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return key;
}

int NameIndex::Find(std::string_view text) const {
  if (case_ == Case::kExact) {
    const auto found = exact_.find(text);
    return found == exact_.end() ? -1 : found->second;
  }
  const auto found = lowered_.find(Lowered(text));
  return found == lowered_.end() ? -1 : found->second;
}

const NameIndex& IndexOf(NameTable table, NameIndex::Case comparison) {
  // The four fixed tables, each in both comparisons, made on first use.
  struct Made {
    const char* const* table;
    NameIndex::Case comparison;
    std::unique_ptr<NameIndex> index;
  };
  static std::vector<Made> made;
  for (const Made& entry : made) {
    if (entry.table == table.data() && entry.comparison == comparison) return *entry.index;
  }
  made.push_back({table.data(), comparison, std::make_unique<NameIndex>(table, comparison)});
  return *made.back().index;
}

}  // namespace fxt
