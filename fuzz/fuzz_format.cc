// libFuzzer target: lays arbitrary bytes out as a template and holds the
// formatter to its promise: the laid-out text draws the same report, each
// message on the same line, and the same model, and laying it out again
// changes nothing. The formatter checks each line's new layout on its own
// and never loads a whole text: the loads here are what hold it to the
// whole text's report and model.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "format/format_template.h"
#include "format/same_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  fxt::FormatOptions options;
  options.indent = static_cast<int>(size % (fxt::MAX_INDENT + 1));
  const fxt::Formatting formatting = fxt::FormatTemplate(text, options);
  if (formatting.edits.empty()) return 0;
  if (fxt::ApplyEdits(text, formatting.edits) != formatting.laidOut) std::abort();
  if (!fxt::SameReading(text, formatting.laidOut)) std::abort();
  if (fxt::FormattedText(formatting.laidOut, options) != formatting.laidOut) std::abort();
  return 0;
}
