#include "chart/chart_source.h"

#include <new>
#include <utility>

#include "grammar/header.h"
#include "lint/check.h"
#include "lint/consequences.h"
#include "lint/template_tracker.h"

namespace fxt::chart {
namespace {

// Follows the load for what the model does not keep: the header's product=
// and numDMX= lines, whether each attribute block has a channel= line, and where
// the blocks stand. A fixture line that opens a template starts afresh, as
// the load does.
class ChartLines : public LoadObserver, private TrackerListener {
 public:
  explicit ChartLines(ChartSource& source) : source_(source) {}

  void BeforeLine(const LineEvent& line, StateFn state) override {
    tracker_.BeforeLine(line, state);
    if (state != StateFixtureBody) return;
    if (line.Token() == TOKEN_PRODUCT) source_.product = std::string(line.quotedText);
    if (line.Token() == TOKEN_NUM_DMX) source_.numDmx = ValueOf(line);
  }

  void AfterLine(const LineEvent& line, StateFn state) override {
    const Block before = tracker_.CurrentBlock();
    const size_t attributes = tracker_.Attributes().size();
    tracker_.AfterLine(line, state);
    const Block after = tracker_.CurrentBlock();
    if (tracker_.Attributes().size() > attributes) {
      source_.blocks.push_back({line.position.line, BlockKind::kAttribute});
    } else if (after == Block::kParameter &&
               (before != Block::kParameter || line.Token() == TOKEN_PARAMETER)) {
      source_.blocks.push_back({line.position.line, BlockKind::kParameter});
    } else if (before != Block::kNone && after == Block::kNone) {
      source_.blocks.push_back({line.position.line, BlockKind::kEnd});
    }
  }

  void End(const LoadEnd& /*end*/) override { tracker_.End(); }

 private:
  ChartSource& source_;
  TemplateTracker tracker_{this};

  void TemplateOpened() override {
    source_.product.reset();
    source_.numDmx.reset();
    source_.writtenAttributes.clear();
    source_.blocks = {{tracker_.FixtureLine().line, BlockKind::kHeader}};
  }

  void AttributeClosed(const TrackedAttribute& attribute) override {
    source_.writtenAttributes.push_back({attribute.line.line, attribute.channel.has_value()});
  }
};

class Collector : public LintSink {
 public:
  explicit Collector(std::vector<ChartDiagnostic>& out) : out_(out) {}
  void Diagnostic(const LintDiagnostic& diagnostic) override {
    out_.push_back({diagnostic.severity, diagnostic.entry.code, std::string(diagnostic.text),
                    diagnostic.range.start,
                    std::vector<Note>(diagnostic.notes.begin(), diagnostic.notes.end())});
  }

 private:
  std::vector<ChartDiagnostic>& out_;
};

// Checks the bytes as fxtlint does; the chart's lines follow the check's
// load, and the model it built is kept.
FileSummary CheckSharingTheLoad(ChartSource& source, std::span<const uint8_t> bytes) {
  ChartLines lines(source);
  Collector collector(source.diagnostics);
  SharedLoad shared{&lines, nullptr};
  FileSummary summary =
      CheckTemplate(source.name, bytes, LintOptions{}, collector, nullptr, &shared);
  source.load.fixture = std::move(shared.model);
  return summary;
}

// Draws a tolerant load of the bytes instead, its lines followed afresh.
void LoadTolerantly(ChartSource& source, std::span<const uint8_t> bytes) {
  source.load.fixture.reset();
  source.product.reset();
  source.numDmx.reset();
  source.writtenAttributes.clear();
  source.blocks.clear();
  ChartLines lines(source);
  source.load.fixture = Consequences(bytes, &lines).TakeModel();
}

}  // namespace

// The result and the diagnostics are the tester's, as fxtlint gives them.
// The model is a tolerant load's, which stores what follows an error too.
// Until the first error both loads store alike, so a template without
// errors is drawn from the check's own load, and its file loaded once.
ChartSource ReadForChart(std::string name, std::span<const uint8_t> bytes) {
  ChartSource source;
  source.name = std::move(name);
  const FileSummary summary = CheckSharingTheLoad(source, bytes);
  if (summary.outOfMemory) throw std::bad_alloc();
  if (summary.result > 0) LoadTolerantly(source, bytes);
  source.omittedDiagnostics = summary.omitted;
  source.load.result = summary.result;
  source.load.errorCount = summary.errorCount;
  source.load.warningFlag = summary.warningFlag;
  return source;
}

}  // namespace fxt::chart
