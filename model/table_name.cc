#include "model/table_name.h"

#include <algorithm>
#include <cstring>

namespace fxt {

// Names are short: a loop costs less than a call.
std::string_view TextOf(std::string_view text) {
  size_t length = 0;
  while (length < text.size() && text[length] != '\0') ++length;
  return text.substr(0, length);
}

void TableName::Set(std::string_view text, NameTable table) {
  Free();
  text = TextOf(text);
  const int index = LookupName(text, table);
  if (index != -1) {
    text_ = table[static_cast<size_t>(index)];
    return;
  }
  copy_.reset(new (std::nothrow) char[text.size() + 1]);
  if (copy_ == nullptr) return;
  std::copy(text.begin(), text.end(), copy_.get());
  copy_[text.size()] = '\0';
  text_ = copy_.get();
}

std::string NormaliseName(std::string_view text) {
  text = TextOf(text);
  text = text.substr(0, NAME_TEXT_MAX);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  std::string name(text);
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

}  // namespace fxt
