// What holds the formatter to its promise, in its tests and its fuzz target:
// the tester, loading the text before and after, reports the same and
// builds the same model. The formatter itself trusts its line-by-line
// reading and does not load either text.
#pragma once

#include <string>
#include <string_view>

namespace fxt {

// What a load of `text` says, as parse loads a file: every message with the
// line numbers it carries and where it stands, in order, then the model as
// fxtdump prints it, which carries the load's result and counts as well.
std::string ReadingOf(std::string_view text);

// Whether two texts read alike: their readings are the same, byte for byte.
bool SameReading(std::string_view before, std::string_view after);

}  // namespace fxt
