// Inline suppressions: a comment "/ fxtlint: ignore CODE[,CODE...]" on a
// line or on the line above it keeps those codes (or prefixes) from being
// reported there; the marker and the codes are read in any letter case. A
// suppression that suppresses nothing, or names no code, is itself reported,
// and so is a comment whose codes do not stand after a blank
// ("ignoreFT204"), which suppresses nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "reader/report.h"

namespace fxt {

struct Suppression {
  SourcePosition position;  // where its comment begins
  std::string code;         // a code or a prefix, in upper case; empty when none is named;
                            // as written after "ignore" when glued to it
  bool used = false;
  bool glued = false;  // "ignoreFT204": no suppression at all
};

class Suppressions {
 public:
  // Finds every suppression comment in the file.
  explicit Suppressions(std::span<const uint8_t> bytes);

  // Whether a comment on `line` or on the line above suppresses `code`; the
  // comments that do are marked used. However many codes a line names, it
  // costs a few binary searches: one for each prefix of `code`.
  bool Suppress(std::string_view code, int32_t line);
  const std::vector<Suppression>& All() const { return suppressions_; }

 private:
  std::vector<Suppression> suppressions_;  // in file order
  std::vector<size_t> byLineAndCode_;      // of those not glued, sorted so

  bool SuppressOn(int32_t line, std::string_view prefix);
};

}  // namespace fxt
