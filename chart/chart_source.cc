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

}  // namespace

// The model is a tolerant load's, which stores what follows an error too;
// the result and the diagnostics are the tester's, as fxtlint gives them.
ChartSource ReadForChart(std::string name, std::span<const uint8_t> bytes) {
  ChartSource source;
  source.name = std::move(name);
  ChartLines lines(source);
  Consequences tolerated(bytes, &lines);
  source.load.fixture = tolerated.TakeModel();
  Collector collector(source.diagnostics);
  const FileSummary summary =
      CheckTemplate(source.name, bytes, LintOptions{}, collector, &tolerated);
  if (summary.outOfMemory) throw std::bad_alloc();
  source.omittedDiagnostics = summary.omitted;
  source.load.result = summary.result;
  source.load.errorCount = summary.errorCount;
  source.load.warningFlag = summary.warningFlag;
  return source;
}

}  // namespace fxt::chart
