// A session with the language server, as the fuzz target reads it: one
// message body a line, each a JSON object. Two shorthands keep hostile
// messages small enough to mutate: the JSON string "@nest:N" stands for
// arrays nested N deep, and "@ud800@" inside a string for the escape of a
// lone surrogate, which no JSON library writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fxt::fuzz {

// Whether the input is a session rather than a template: it begins as a
// JSON object does.
bool IsSession(std::string_view input);

// The session's message bodies, shorthands written out, at most `most` of
// them.
std::vector<std::string> SessionMessages(std::string_view input, size_t most);

// Mutates a session in place, knowing its shape: a field of one message
// takes a value of another kind (a string for a number, a number past any
// text, nesting without end, a lone surrogate, line ends of every kind) or
// goes; a message is repeated, dropped or moved; a message of a known method
// is added; or, as often, the bytes are mutated as any input's are. Returns
// the new size, at most `maxSize`.
size_t MutateSession(uint8_t* data, size_t size, size_t maxSize, unsigned seed);

}  // namespace fxt::fuzz
