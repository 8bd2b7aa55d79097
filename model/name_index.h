// Finding a text in a fixed name table without walking it: the entries
// sorted once, searched by halves. The answer is the one a walk from the
// first entry gives: the first entry equal to the text.
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#include "model/name_tables.h"

namespace fxt {

class NameIndex {
 public:
  enum class Case { kExact, kIgnored };

  NameIndex(NameTable table, Case comparison);

  // Index of the first entry equal to `text`, or -1.
  int Find(std::string_view text) const;

 private:
  Case case_;
  std::vector<std::pair<std::string, int>> sorted_;  // (key, index), by key then index

  std::string KeyOf(std::string_view text) const;
};

// The index of one of the fixed tables.
const NameIndex& IndexOf(NameTable table, NameIndex::Case comparison = NameIndex::Case::kExact);

}  // namespace fxt
