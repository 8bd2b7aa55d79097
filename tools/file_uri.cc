#include "tools/file_uri.h"

#include <cstdio>

namespace fxt {
namespace {

bool IsUnreserved(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string PercentEncoded(std::string_view path) {
  std::string encoded;
  for (const char c : path) {
    if (IsUnreserved(c)) {
      encoded += c;
      continue;
    }
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
    encoded += escaped;
  }
  return encoded;
}

std::string FileUri(std::string_view absolutePath) {
  return "file://" + PercentEncoded(absolutePath);
}

std::optional<std::string> PathOfFileUri(std::string_view uri) {
  constexpr std::string_view kLocal = "file://";
  if (!uri.starts_with(kLocal)) return std::nullopt;
  uri.remove_prefix(kLocal.size());
  constexpr std::string_view kLocalHost = "localhost";
  if (uri.starts_with(kLocalHost)) uri.remove_prefix(kLocalHost.size());
  if (!uri.starts_with('/')) return std::nullopt;
  std::string path;
  for (size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] != '%') {
      path += uri[i];
      continue;
    }
    const int high = i + 2 < uri.size() ? HexDigit(uri[i + 1]) : -1;
    const int low = high >= 0 ? HexDigit(uri[i + 2]) : -1;
    if (low < 0 || (high == 0 && low == 0)) return std::nullopt;
    path += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return path;
}

}  // namespace fxt
