// A parameter as a picture: one lane per attribute it drives, on a 0 to 255
// or 0 to 65535 axis, each stop's range a bar patterned by its mode, home
// values as markers, and the values where stops overlap or none reaches.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chart/page_context.h"
#include "grammar/letter_docs.h"

namespace fxt::chart {
namespace {

constexpr int32_t WIDTH = 1296;
constexpr int32_t AXIS_LEFT = 248;
constexpr int32_t AXIS_WIDTH = 1024;
constexpr int32_t ROW_HEIGHT = 22;
constexpr int32_t BAR_HEIGHT = 19;
constexpr int32_t STRIP = 10;      // below a lane's rows: gaps and overlaps
constexpr int32_t AXIS_TEXT = 16;  // below the strip: the axis's values
constexpr int32_t LANE_GAP = 8;
constexpr int32_t LABEL_CHARACTER = 8;  // the width a character of a bar's label takes, at most
// A bar narrower than this shows no label: its stop's title says it.
constexpr int32_t MOST_UNLABELLED = 2 * LABEL_CHARACTER + 4;
constexpr size_t LANE_NAME_FITS = 26;
constexpr size_t MOST_GAPS_NAMED = 8;

// The axis position where a value begins, and where the next begins.
int32_t Position(const Lane& lane, int32_t value) {
  return AXIS_LEFT + (lane.sixteenBit ? value >> 6 : value * 4);
}
int32_t End(const Lane& lane, int32_t value) {
  return lane.sixteenBit ? AXIS_LEFT + ((value + 1) >> 6) : Position(lane, value + 1);
}

int32_t BodyHeight(const Lane& lane) { return lane.rows * ROW_HEIGHT + 4; }
int32_t LaneHeight(const Lane& lane) { return BodyHeight(lane) + STRIP + AXIS_TEXT + LANE_GAP; }

std::string ModeClass(int32_t mode) {
  return mode >= STOP_MODE_NONE && mode <= STOP_MODE_DISPLAY ? "m" + std::to_string(mode) : "mx";
}

void WriteStrip(Html& html, const Lane& lane, const std::vector<ValueSpan>& spans,
                std::string_view kind, int32_t y) {
  if (spans.empty()) return;
  html << "<path class=\"" << kind << "\" d=\"";
  for (const ValueSpan& span : spans) {
    html << 'M' << Position(lane, span.from) << ',' << y << 'H'
         << std::max(End(lane, span.to), Position(lane, span.from) + 2);
  }
  html << "\"/>";
}

class ParameterPicture {
 public:
  ParameterPicture(Html& html, const PageContext& page, int number)
      : html_(html),
        number_(number),
        lanes_(page.parameters[static_cast<size_t>(number - 1)]) {
    int32_t y = 0;
    for (const Lane& lane : lanes_.lanes) {
      tops_.push_back(y);
      y += LaneHeight(lane);
    }
    height_ = y;
    linked_.resize(lanes_.runs.size());
    const auto link = [&](int stop) {
      if (const StopRun* run = lanes_.RunOf(stop)) {
        linked_[static_cast<size_t>(run - lanes_.runs.data())] = true;
      }
    };
    for (const StopProblem& problem : lanes_.problems) link(problem.stop);
    for (const int stop : page.LinkedStops(number)) link(stop);
  }

  void Write() {
    html_ << "<svg class=\"chart stops\" viewBox=\"0 0 " << WIDTH << ' ' << height_
          << "\" role=\"img\" aria-label=\"The stops on " << lanes_.lanes.size()
          << (lanes_.lanes.size() == 1 ? " attribute" : " attributes") << "\">\n";
    for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) WriteLane(lane);
    std::vector<std::vector<std::pair<size_t, size_t>>> barsOfRun(lanes_.runs.size());
    for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) {
      const std::vector<Bar>& bars = lanes_.lanes[lane].bars;
      for (size_t bar = 0; bar < bars.size(); ++bar)
        barsOfRun[bars[bar].run].emplace_back(lane, bar);
    }
    for (size_t run = 0; run < lanes_.runs.size(); ++run) WriteRun(run, barsOfRun[run]);
    html_ << "</svg>\n";
  }

 private:
  Html& html_;
  int number_;
  const StopLanes& lanes_;
  std::vector<int32_t> tops_;
  int32_t height_ = 0;
  std::vector<bool> linked_;  // the runs that a link leads to

  void WriteLane(size_t index) {
    const Lane& lane = lanes_.lanes[index];
    const int32_t top = tops_[index];
    const int32_t body = BodyHeight(lane);
    html_ << "<g><text class=\"lane-name\" y=\"" << top + 16 << "\">";
    const std::string name = AttributeName(lane.attribute, lane.number);
    html_.Text(std::string_view(name).substr(0, LANE_NAME_FITS))
        << "</text><text class=\"ch\" y=\"" << top + 32 << "\">";
    if (lane.attribute == nullptr) {
      html_ << "no such attribute";
    } else {
      html_ << "ch " << lane.attribute->channel + 1;
      if (lane.sixteenBit) html_ << '+' << lane.attribute->fineChannel + 1;
      html_ << (lane.sixteenBit ? ", 16-bit" : ", 8-bit");
    }
    html_ << "</text><rect class=\"lane\" x=\"" << AXIS_LEFT << "\" y=\"" << top << "\" width=\""
          << AXIS_WIDTH << "\" height=\"" << body << "\"/>";
    WriteStrip(html_, lane, lane.gaps, "gap", top + body + STRIP / 2);
    WriteStrip(html_, lane, lane.overlaps, "overlap", top + body + STRIP / 2);
    html_ << "<use href=\"#" << (lane.sixteenBit ? "ax16" : "ax8") << "\" y=\""
          << top + body + STRIP << "\"/>";
    if (lane.attribute != nullptr) WriteHome(lane, top, body);
    html_ << "</g>\n";
  }

  void WriteHome(const Lane& lane, int32_t top, int32_t body) {
    const int32_t value = lane.OnScale(lane.attribute->homeValue);
    const int32_t x = (Position(lane, value) + End(lane, value)) / 2;
    html_ << "<path class=\"home\" d=\"M" << x << ',' << top + body << 'V' << top + 6
          << "l-5,-6h10z\"><title>home value " << value << "</title></path>";
  }

  void WriteRun(size_t run, const std::vector<std::pair<size_t, size_t>>& bars) {
    const StopRun& stopRun = lanes_.runs[run];
    const Stop& stop = *stopRun.stop;
    html_ << "<g class=\"stop " << ModeClass(stop.mode) << '"';
    if (linked_[run]) html_ << " id=\"stop-" << number_ << '-' << stopRun.first << '"';
    html_ << '>';
    if (LabelCut(stopRun, bars)) {
      html_ << "<title>";
      html_.Text(QuotedLabel(stop)) << "</title>";
    }
    for (const auto& [lane, bar] : bars)
      WriteBar(lanes_.lanes[lane], tops_[lane], lanes_.lanes[lane].bars[bar], stopRun);
    html_ << "</g>\n";
  }

  // Whether a bar is too narrow for the label: then the stop says it on
  // hovering.
  bool LabelCut(const StopRun& run, const std::vector<std::pair<size_t, size_t>>& bars) const {
    const size_t length = run.stop->label.IsSet() ? std::strlen(run.stop->label.get()) : 0;
    const int32_t needed = static_cast<int32_t>(length) * LABEL_CHARACTER + 2 * 4 + 24;
    return std::any_of(bars.begin(), bars.end(), [&](const std::pair<size_t, size_t>& at) {
      const Lane& lane = lanes_.lanes[at.first];
      const ValueSpan& values = lane.bars[at.second].values;
      return End(lane, values.to) - Position(lane, values.from) < needed;
    });
  }

  void WriteBar(const Lane& lane, int32_t top, const Bar& bar, const StopRun& run) {
    const Stop& stop = *run.stop;
    const int32_t x = Position(lane, bar.values.from);
    const int32_t width = std::max(End(lane, bar.values.to) - x, 3);
    html_ << "<svg" << (bar.reversed ? " class=\"rev\"" : "") << " x=\"" << x << "\" y=\""
          << top + 2 + bar.row * ROW_HEIGHT << "\" width=\"" << width << "\" height=\""
          << BAR_HEIGHT << "\"><rect/>";
    if (width >= MOST_UNLABELLED) {
      html_ << "<text>";
      if (stop.label.IsSet()) html_.Text(stop.label.get());
      if (run.count > 1) html_ << " \xC3\x97" << run.count;  // a multiplication sign
      if (stop.selectedEntry == bar.entry) html_ << " m";
      if (stop.entries[bar.entry].flagR != 0) html_ << " r";
      html_ << "</text>";
    }
    html_ << "</svg>";
  }
};

void WriteGaps(Html& html, const StopLanes& lanes) {
  size_t named = 0;
  for (const Lane& lane : lanes.lanes) {
    for (const ValueSpan& gap : lane.gaps) {
      html << (named == 0 ? "<p class=\"notes\">Values that no stop sets: " : ", ");
      if (named++ == MOST_GAPS_NAMED) {
        html << "and more";
        break;
      }
      html.Text(AttributeName(lane.attribute, lane.number)) << ' ' << SpanText(gap);
    }
    if (named > MOST_GAPS_NAMED) break;
  }
  if (named > 0) html << ".</p>\n";
}

void WriteProblems(Html& html, const StopLanes& lanes, int number) {
  if (lanes.problems.empty()) return;
  html << "<ul class=\"problems\">\n";
  for (const StopProblem& problem : lanes.problems) {
    html << "<li class=\"warning\"><span class=\"sev\">Warning: </span>";
    if (problem.stop != 0) {
      html << "<a href=\"#stop-" << number << '-' << lanes.RunOf(problem.stop)->first << "\">";
    }
    html.Text(problem.text);
    if (problem.stop != 0) html << "</a>";
    html << "</li>\n";
  }
  html << "</ul>\n";
}

void WriteCaption(Html& html, const PageContext& page, int number) {
  const Parameter& parameter = *page.fixture->ParameterAt(number);
  html << "<figcaption><h3>";
  WriteParameterName(html, parameter, number);
  html << "</h3> \xC2\xB7 parameter " << number << " \xC2\xB7 type ";
  const LetterDoc* kind = LetterDocWithCode(LetterRole::kParameterKind, parameter.kind);
  html << (kind != nullptr && kind->letter != ANY_OTHER_LETTER ? std::string(1, kind->letter)
                                                               : "none")
       << " \xC2\xB7 ";
  if (parameter.displayer == NO_DISPLAYER) {
    html << "no displayer";
  } else {
    html << "displayer " << parameter.displayer;
  }
  html << " \xC2\xB7 " << parameter.stopCount << (parameter.stopCount == 1 ? " stop" : " stops");
  page.WriteDiagnosticLinks(html, {Place::Kind::kParameter, number});
  html << "</figcaption>\n";
}

}  // namespace

void WriteStopLegend(Html& html) {
  html << "<svg class=\"chart legend\" viewBox=\"0 0 1296 88\" role=\"img\" "
          "aria-label=\"Legend\">\n";
  for (int32_t mode = STOP_MODE_NONE; mode <= STOP_MODE_DISPLAY; ++mode) {
    const LetterDoc& doc = *LetterDocWithCode(LetterRole::kStopMode, mode);
    const int32_t x = (mode % 4) * 324;
    const int32_t y = (mode / 4) * 28;
    html << "<g class=\"stop m" << mode << "\"><svg x=\"" << x << "\" y=\"" << y
         << "\" width=\"40\" height=\"19\"><rect width=\"100%\" height=\"100%\"/></svg></g><text "
            "x=\""
         << x + 48 << "\" y=\"" << y + 15 << "\">" << doc.letter << ": " << doc.summary
         << "</text>\n";
  }
  html << "<path class=\"home\" d=\"M0,84V66l-5,-6h10z\" transform=\"translate(8,0)\"/><text "
          "x=\"24\" "
          "y=\"80\">home value</text><path class=\"overlap\" d=\"M324,76h40\"/><text x=\"372\" "
          "y=\"80\">stops overlap</text><path class=\"gap\" d=\"M648,76h40\"/><text x=\"696\" "
          "y=\"80\">no stop sets these values</text><g class=\"stop m0\"><svg class=\"rev\" "
          "x=\"972\" y=\"66\" width=\"40\" height=\"19\"><rect width=\"100%\" height=\"100%\"/>"
          "</svg></g><text x=\"1020\" y=\"80\">a range that runs backwards</text>\n</svg>\n"
          "<p class=\"notes\">A bar's label ends in m for the value under the mouse, r for a value "
          "marked r, and \xC3\x97N for a stop that the next ones repeat.</p>\n";
}

void WriteParameter(Html& html, const PageContext& page, int number) {
  const StopLanes& lanes = page.parameters[static_cast<size_t>(number - 1)];
  html << "<figure class=\"parameter\" id=\"param-" << number << "\">\n";
  WriteCaption(html, page, number);
  if (lanes.lanes.empty()) {
    html << "<p class=\"notes\">It drives no attribute.</p>\n";
  } else {
    ParameterPicture(html, page, number).Write();
    WriteGaps(html, lanes);
  }
  WriteProblems(html, lanes, number);
  if (!lanes.runs.empty()) WriteStopTable(html, page, number);
  html << "</figure>\n";
}

}  // namespace fxt::chart
