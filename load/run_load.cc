#include "load/run_load.h"

#include "load/load_template.h"
#include "reader/line_reader.h"
#include "reader/parse_context.h"

namespace fxt {
namespace {

constexpr int FIXTURE_SLOT = 1;

}  // namespace

LoadOutcome RunLoad(std::span<const uint8_t> bytes, ReportTarget* target, LoadObserver* observer,
                    LoadMode mode) {
  ResetProcessState();
  SetInput(bytes);
  loadObserver = observer;
  const int result = LoadTemplate(target, FIXTURE_SLOT, mode);
  loadObserver = nullptr;
  const ParseContext& ctx = parseContext;
  return {result, ctx.errorCount, ctx.warningFlag, TakeFromSlot(FIXTURE_SLOT)};
}

}  // namespace fxt
