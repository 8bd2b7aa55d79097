#include "model/name_index.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace fxt {

NameIndex::NameIndex(NameTable table, Case comparison) : case_(comparison) {
  sorted_.reserve(table.size());
  for (size_t i = 0; i < table.size(); ++i) {
    sorted_.emplace_back(KeyOf(table[i]), static_cast<int>(i));
  }
  std::sort(sorted_.begin(), sorted_.end());
}

std::string NameIndex::KeyOf(std::string_view text) const {
  std::string key(text);
  if (case_ == Case::kIgnored) {
    for (char& c : key) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

int NameIndex::Find(std::string_view text) const {
  const std::string lowered = case_ == Case::kIgnored ? KeyOf(text) : std::string();
  if (case_ == Case::kIgnored) text = lowered;
  const auto found = std::lower_bound(sorted_.begin(), sorted_.end(), text,
                                      [](const std::pair<std::string, int>& entry,
                                         std::string_view key) { return entry.first < key; });
  return found != sorted_.end() && found->first == text ? found->second : -1;
}

const NameIndex& IndexOf(NameTable table, NameIndex::Case comparison) {
  // The four fixed tables, each in both comparisons, built on first use.
  struct Built {
    const char* const* table;
    NameIndex::Case comparison;
    std::unique_ptr<NameIndex> index;
  };
  static std::vector<Built> built;
  for (const Built& entry : built) {
    if (entry.table == table.data() && entry.comparison == comparison) return *entry.index;
  }
  built.push_back({table.data(), comparison, std::make_unique<NameIndex>(table, comparison)});
  return *built.back().index;
}

}  // namespace fxt
