// Writing a whole file so that a reader never finds half of it: the bytes
// go to a new file beside it, which then takes its name.
#pragma once

#include <string>
#include <string_view>

namespace fxt {

// Writes `bytes` to `path`. A path that names something other than a
// regular file (a device, a FIFO) is written to in place. Returns the
// system's reason on failure, when nothing at `path` has changed; "" on
// success.
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace fxt
