// Standard output for the programs: every write is checked, and a program
// whose output was lost ends with a failure rather than success.
#pragma once

#include <string_view>

#include "reader/report.h"

namespace fxt {

inline constexpr int EXIT_OUTPUT_LOST = 2;

// Standard output goes out through one large buffer, unless it is a
// terminal, whose reader wants each line as it comes: a long report then
// goes out in few writes. Deciding which needs no call; this one decides
// before the first output.
void BufferOutput();

// printf to standard output, remembering the first failure.
[[gnu::format(printf, 1, 2)]] void PrintOut(const char* format, ...);
// The bytes as they are, to standard output.
void WriteOut(std::string_view bytes);
// A line end, then the text: how a report's message goes out.
void WriteOutOnNewLine(std::string_view text);
// The free room of the buffer, for writing into directly, as a report
// target lends it; null while standard output is not buffered. Writes
// through the calls above move it.
MessageRoom* BufferedOutputRoom();
// Writes out what is buffered, so that what follows on standard error comes
// after it in a combined log.
void FlushOut();

// Flushes and closes standard output. When anything could not be written,
// says why on standard error ("PROGRAM: error writing standard output:
// REASON") and returns EXIT_OUTPUT_LOST; otherwise returns `status`.
int CloseStandardOutput(const char* program, int status);

}  // namespace fxt
