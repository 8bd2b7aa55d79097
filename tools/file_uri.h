// Paths as file URIs and back, for SARIF and the language server.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fxt {

// The path with every byte but the unreserved ones and '/' written %XX.
std::string PercentEncoded(std::string_view path);
// "file://" and the path, percent-encoded.
std::string FileUri(std::string_view absolutePath);
// The path of a file URI on this host; none for any other URI, or for one
// whose %XX escapes are broken or stand for a NUL.
std::optional<std::string> PathOfFileUri(std::string_view uri);

}  // namespace fxt
