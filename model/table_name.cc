#include "model/table_name.h"

#include <algorithm>
#include <cstring>

namespace fxt {

void TableName::Set(const char* text, NameTable table) {
  Free();
  const int index = LookupName(text, table);
  if (index != -1) {
    text_ = table[static_cast<size_t>(index)];
    return;
  }
  const size_t size = std::strlen(text) + 1;
  copy_.reset(new (std::nothrow) char[size]);
  if (copy_ == nullptr) return;
  std::memcpy(copy_.get(), text, size);
  text_ = copy_.get();
}

std::string NormaliseName(const char* text) {
  size_t n = std::min<size_t>(std::strlen(text), NAME_TEXT_MAX);
  while (*text == ' ' && n > 0) {
    ++text;
    --n;
  }
  std::string name(text, n);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

}  // namespace fxt
