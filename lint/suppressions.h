// Inline suppressions: a comment "/ fxtlint: ignore CODE[,CODE...]" on a
// line or on the line above it keeps those codes (or prefixes) from being
// reported there. A suppression that suppresses nothing is itself reported.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "reader/report.h"

namespace fxt {

struct Suppression {
  SourcePosition position;  // where its comment begins
  std::string code;         // a code or a prefix
  bool used = false;
};

class Suppressions {
 public:
  // Finds every suppression comment in the file.
  explicit Suppressions(std::span<const uint8_t> bytes);

  // Whether a comment on `line` or on the line above suppresses `code`; the
  // comments that do are marked used.
  bool Suppress(std::string_view code, int32_t line);
  const std::vector<Suppression>& All() const { return suppressions_; }

 private:
  std::vector<Suppression> suppressions_;  // in file order
};

}  // namespace fxt
