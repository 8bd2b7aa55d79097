// One mode of a fixture as a template: an attribute for each coarse channel,
// one intensity attribute, a parameter with stops for each attribute whose
// capabilities do something, and a remark for whatever the template cannot say.
#pragma once

#include <string>

#include "import/library_fixture.h"
#include "import/mode_channels.h"
#include "import/template_plan.h"

namespace fxt {

// A template holds DMX channels 1 to 64.
inline constexpr int TEMPLATE_CHANNELS = 64;

struct ImportSource {
  const LibraryFixture* fixture = nullptr;
  std::string fileName;          // the fixture file, as the first remark names it
  std::string manufacturer;      // as the header writes it
  std::string manufacturerName;  // as the library names it, for product=
};

TemplatePlan ImportMode(const ImportSource& source, const LibraryMode& mode,
                        const ResolvedMode& resolved);

// A DMX value written with `from` bytes, as a value of `to` bytes: the bytes
// beyond `to` go; the bytes added are 0, or all ones at the end of a range.
uint32_t Scaled(uint64_t value, int from, int to, bool rangeEnd);

}  // namespace fxt
