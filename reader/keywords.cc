#include "reader/keywords.h"

namespace fxt {
namespace {

char LowerCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool BeginsWith(const char* line, const char* keyword) {
  for (; *keyword != '\0'; ++keyword, ++line) {
    if (*line != LowerCase(*keyword)) return false;
  }
  return true;
}

}  // namespace

const Keyword* MatchKeyword(const char* line) {
  for (const Keyword& keyword : KeywordTable) {
    if (BeginsWith(line, keyword.text)) return &keyword;
  }
  return nullptr;
}

}  // namespace fxt
