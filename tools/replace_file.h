// Writing a file anew so that a failure, a full disk included, leaves it as
// it was.
#pragma once

#include <string>
#include <string_view>

namespace fxt {

// Gives the file at `path` the new bytes: they go to a temporary file beside
// it, which then takes its place with its permissions and, where the system
// allows, its owner. A symbolic link keeps pointing at the file. Returns the
// system's reason when the file could not be replaced (it is then as it
// was), else an empty text.
std::string ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace fxt
