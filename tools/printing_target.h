// How parse prints what a load reports.
#pragma once

#include "reader/report.h"

namespace fxt {

// Prints each message on a line of its own: a line end before it, none after.
class PrintingReportTarget : public ReportTarget {
 public:
  void Report(const Diagnostic& diagnostic) override;
  MessageRoom* RoomForMessages() override;
};

}  // namespace fxt
