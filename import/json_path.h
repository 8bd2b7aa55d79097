// Places in a JSON document, written as JSONPath: $.modes[0].channels[3],
// with a key that is no plain word in brackets: $.availableChannels["Pan fine"].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fxt {

inline constexpr std::string_view kJsonRoot = "$";

std::string MemberPath(std::string_view path, std::string_view key);
std::string IndexPath(std::string_view path, size_t index);

}  // namespace fxt
