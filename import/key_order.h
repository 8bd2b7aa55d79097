// The order in which a JSON text writes the keys of one of its objects. The
// fixture reader keeps objects as sorted maps, which read in time that grows
// with n log n of their size; the few places where the file's own order
// matters ask for it here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fxt {

// The keys of the object reached from the root through the members named in
// `path`, as the text writes them; empty when there is no such object.
std::vector<std::string> KeysInFileOrder(std::string_view json,
                                         const std::vector<std::string>& path);

}  // namespace fxt
