// A name held by a record: either an entry of a fixed name table, shared and
// never freed, or an owned copy of a text that the table does not hold.
#pragma once

#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "model/name_tables.h"

namespace fxt {

class TableName {
 public:
  TableName() = default;
  TableName(TableName&& other) noexcept { *this = std::move(other); }
  TableName& operator=(TableName&& other) noexcept {
    text_ = std::exchange(other.text_, nullptr);
    copy_ = std::move(other.copy_);
    return *this;
  }

  // Points at the table's entry for `text`, or keeps a copy of it. When the
  // copy cannot be allocated the name stays unset. The text is read as a C
  // string would be: up to its first NUL.
  void Set(std::string_view text, NameTable table);
  void Free() {
    text_ = nullptr;
    copy_.reset();
  }

  const char* get() const { return text_; }
  bool IsSet() const { return text_ != nullptr; }
  bool IsCopy() const { return copy_ != nullptr; }

 private:
  const char* text_ = nullptr;
  std::unique_ptr<char[]> copy_;
};

inline constexpr int NAME_TEXT_MAX = 49;

// The text as a C string reads it: up to its first NUL.
std::string_view TextOf(std::string_view text);

// The form in which manufacturer and parameter type names are matched: at
// most the first 49 characters, leading blanks (spaces only) skipped, letters
// upper-cased, trailing blanks kept.
std::string NormaliseName(std::string_view text);

}  // namespace fxt
