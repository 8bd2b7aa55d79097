#include "tools/printing_target.h"

#include "tools/standard_output.h"

namespace fxt {

void PrintingReportTarget::Report(const Diagnostic& diagnostic) {
  WriteOutOnNewLine(diagnostic.message);
}

MessageRoom* PrintingReportTarget::RoomForMessages() { return BufferedOutputRoom(); }

}  // namespace fxt
