// Writing a file anew so that a failure, a full disk included, leaves it as
// it was, a reader never finds half of it, and a change that someone else
// made since it was read is kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace fxt {

// Gives the file at `path` the new bytes: they go to a temporary file beside
// it, which then takes its place with its permissions and, where the system
// allows, its owner. A symbolic link keeps pointing at the file. When
// `original` is given, the file is left alone unless it still holds it, as
// it did when it was read. Returns the reason when the file could not be
// replaced (it is then as it was), else an empty text.
std::string ReplaceFile(const std::string& path, std::string_view bytes,
                        std::optional<std::string_view> original = std::nullopt);

// Writes `bytes` to `path`, a file that need not exist, through a new file
// beside it that then takes its name. A path that names something other
// than a regular file (a device, a FIFO) is written to in place. Returns
// the system's reason on failure, when nothing at `path` has changed; ""
// on success.
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace fxt
