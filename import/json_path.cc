#include "import/json_path.h"

#include <algorithm>

namespace fxt {
namespace {

bool IsPlainWord(std::string_view key) {
  if (key.empty() || (key[0] >= '0' && key[0] <= '9')) return false;
  return std::ranges::all_of(key, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$';
  });
}

}  // namespace

std::string MemberPath(std::string_view path, std::string_view key) {
  std::string result(path);
  if (IsPlainWord(key)) {
    result += '.';
    result += key;
    return result;
  }
  result += "[\"";
  for (const char c : key) {
    if (c == '"' || c == '\\') result += '\\';
    result += c;
  }
  result += "\"]";
  return result;
}

std::string IndexPath(std::string_view path, size_t index) {
  return std::string(path) + "[" + std::to_string(index) + "]";
}

}  // namespace fxt
