// fxtlint's report formats. Each writes to standard output as the run goes.
#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "tools/lint.h"

namespace fxt {

enum class FormatKind { kGcc, kJson, kSarif, kQuiet };

std::optional<FormatKind> FormatNamed(std::string_view name);
std::unique_ptr<LintFormat> MakeFormat(FormatKind kind);

// SARIF 2.1.0, the format that code-scanning dashboards read.
std::unique_ptr<LintFormat> MakeSarifFormat();

}  // namespace fxt
