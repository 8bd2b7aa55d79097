// A message's JSON as the server reads it. A lone surrogate escape
// ("\ud800"), which JSON's grammar allows but no Unicode text holds, reads
// as U+FFFD, as a client's own reading of such a string shows it. And a
// message nested deeper than any real one is refused before any part of it
// is copied, which would take a stack frame per level.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string_view>

namespace fxt::lsp {

using nlohmann::json;

inline constexpr size_t MOST_NESTING = 512;

// The message's JSON; discarded when it is no JSON.
json ParseMessage(std::string_view body);

// Whether arrays and objects in `value` nest more than `most` levels deep
// (a bare array is one level); found without recursion.
bool NestsDeeperThan(const json& value, size_t most);

}  // namespace fxt::lsp
