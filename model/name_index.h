// Finding a text in a fixed name table without walking it: a hash of the
// entries, made once. The answer is the one a walk from the first entry
// gives: the first entry equal to the text.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

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
  // Exact keys are the table's own texts; keys that ignore case are the
  // texts in lower case, kept here.
  std::unordered_map<std::string, int> lowered_;
  std::unordered_map<std::string_view, int> exact_;

  static std::string Lowered(std::string_view text);
};

// The index of one of the fixed tables.
const NameIndex& IndexOf(NameTable table, NameIndex::Case comparison = NameIndex::Case::kExact);

}  // namespace fxt
