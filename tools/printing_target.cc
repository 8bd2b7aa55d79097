#include "tools/printing_target.h"

#include "tools/standard_output.h"

namespace fxt {

void PrintingReportTarget::Report(const Diagnostic& diagnostic) {
  PrintOut("\n%s", diagnostic.message);
}

}  // namespace fxt
