// Checking one template: the tester's diagnostics with their notes and the
// findings of the lint rules, each placed on the range it speaks of and
// filtered by the codes asked for and by the template's own suppression
// comments. A rule's finding that explains a diagnostic of the tester's
// joins it as a note; a check that follows from the load's first error is
// a note on that error. They are passed on in line order, at most the limit
// of them, so that memory holds no more than what is shown.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "lint/code_filter.h"
#include "lint/consequences.h"
#include "lint/lint_diagnostic.h"
#include "load/load_observer.h"
#include "model/fixture_template.h"

namespace fxt {

struct LintOptions {
  bool werror = false;
  size_t maxDiagnostics = 1000;  // per file; 0 for no limit
  bool testerOnly = false;       // what parse reports, in its order, and nothing else
  CodeFilter codes;
  // Characters above U+00FF in a file that is valid UTF-8 (FL113); the
  // language server finds them in its document's characters itself.
  bool wideCharacters = true;
};

// What checking one file found.
struct FileSummary {
  std::string path;
  int result = 0;  // as the load returned it
  uint8_t errorCount = 0;
  uint8_t warningFlag = 0;
  size_t errors = 0;  // reported, shown or not
  size_t warnings = 0;
  size_t omitted = 0;  // past the limit, counted but not shown
  bool outOfMemory = false;
  std::array<size_t, CATALOGUE_SIZE> perCode{};  // reported, shown or not

  // A template that did not load fails, whatever was shown of it.
  bool Fails(bool werror) const { return errors > 0 || result > 0 || (werror && warnings > 0); }
};

// The check's own load, shared with a caller that needs the template too,
// so that the file is loaded once: `observer` follows that load as well,
// and `model` receives the template it built (null for no fixture line).
struct SharedLoad {
  LoadObserver* observer = nullptr;
  std::unique_ptr<FixtureTemplate> model;
};

// Checks one template held in memory and passes each diagnostic to `sink`,
// up to the limit. `tolerated`, when given, is a tolerant load of the same
// bytes that the caller made already; `shared`, when given, is the caller's
// part in the check's load.
FileSummary CheckTemplate(const std::string& path, std::span<const uint8_t> bytes,
                          const LintOptions& options, LintSink& sink,
                          Consequences* tolerated = nullptr, SharedLoad* shared = nullptr);

}  // namespace fxt
