// Paths as the tools show them. A path is any string of bytes; what a tool
// prints must neither break its line nor reach a terminal raw.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "reader/utf8.h"

namespace fxt {

// Whether a character reaches a terminal only as \xNN: a control character
// (C0, DEL, C1) or a control of bidirectional text, which reorders what
// follows it on the line (U+202E shows "exe.txt" as "txt.exe").
bool IsEscapedOnTerminal(uint32_t codePoint);

// For a line of text on a terminal: every byte of a control character (C0,
// DEL, C1 written in UTF-8, and the controls of bidirectional text) shown as
// \xNN; everything else as it is.
std::string DisplayPath(std::string_view path);

// Text whose bytes are the characters U+0000 to U+00FF (a template's), as
// UTF-8.
std::string Latin1ToUtf8(std::string_view text);

// For a JSON string: valid UTF-8 as it is, each byte that begins no valid
// sequence, and each backslash, shown as \xNN. The result is valid UTF-8,
// and two paths never show alike.
std::string Utf8Path(std::string_view path);

}  // namespace fxt
