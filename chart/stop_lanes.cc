#include "chart/stop_lanes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <numeric>
#include <optional>
#include <queue>
#include <type_traits>

namespace fxt::chart {
namespace {

// Each kind of problem names at most this many stops, then says how many
// more there are, so that a page stays readable and its size bounded.
constexpr size_t MOST_NAMED = 12;
constexpr int NO_LANE = -1;

enum class ProblemKind : uint8_t { kRepeat, kOverlap, kReversed, kNoAttribute, kCount };

// The problems of one parameter, each kind named up to its limit.
class Problems {
 public:
  explicit Problems(std::vector<StopProblem>& out) : out_(out) {}
  void Add(ProblemKind kind, int stop, const std::function<std::string()>& text);
  void Close();

 private:
  std::vector<StopProblem>& out_;
  std::array<size_t, static_cast<size_t>(ProblemKind::kCount)> counts_{};
};

bool SameText(const char* a, const char* b) {
  return a == b || (a != nullptr && b != nullptr && std::strcmp(a, b) == 0);
}

// An entry has no padding, so entries are alike when their bytes are: a
// parameter of 255 stops compares them all.
static_assert(std::has_unique_object_representations_v<StopEntry>);
bool SameEntries(const Stop& a, const Stop& b) {
  return a.entryCount == b.entryCount &&
         (a.entryCount == 0 ||
          std::memcmp(a.entries.get(), b.entries.get(), a.entryCount * sizeof(StopEntry)) == 0);
}

bool Repeats(const Stop& a, const Stop& b) {
  return SameText(a.label.get(), b.label.get()) && a.mode == b.mode &&
         a.displayFrom == b.displayFrom && a.displayTo == b.displayTo &&
         a.selectedEntry == b.selectedEntry && a.midValue == b.midValue && SameEntries(a, b);
}

std::vector<StopRun> RunsOf(const Parameter& parameter) {
  std::vector<StopRun> runs;
  for (int n = 1; n <= parameter.stopCount; ++n) {
    const Stop* stop = parameter.StopAt(n);
    if (!runs.empty() && Repeats(*runs.back().stop, *stop)) {
      ++runs.back().count;
    } else {
      runs.push_back({n, 1, stop});
    }
  }
  return runs;
}

std::string StopName(const StopRun& run) {
  return "stop " + std::to_string(run.first) + " " + QuotedLabel(*run.stop);
}

std::string Capitalised(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 32);
  return text;
}

void Problems::Add(ProblemKind kind, int stop, const std::function<std::string()>& text) {
  if (++counts_[static_cast<size_t>(kind)] <= MOST_NAMED) out_.push_back({text(), stop});
}

void Problems::Close() {
  static constexpr std::array<const char*, static_cast<size_t>(ProblemKind::kCount)> kMore = {
      " more runs of repeated stops.", " more pairs of overlapping stops.",
      " more ranges that run backwards.", " more values for attributes the template lacks."};
  for (size_t kind = 0; kind < counts_.size(); ++kind) {
    if (counts_[kind] > MOST_NAMED) {
      out_.push_back({"And " + std::to_string(counts_[kind] - MOST_NAMED) + kMore[kind], 0});
    }
  }
}

class LaneBuilder {
 public:
  LaneBuilder(const FixtureTemplate& fixture, StopLanes& lanes, Problems& problems)
      : fixture_(fixture), lanes_(lanes), problems_(problems) {
    laneOf_.fill(NO_LANE);
  }

  int LaneOf(uint8_t attribute) {
    if (laneOf_[attribute] == NO_LANE) {
      const Attribute* record = attribute >= 1 && attribute <= fixture_.attributeCount
                                    ? fixture_.AttributeAt(attribute)
                                    : nullptr;
      laneOf_[attribute] = static_cast<int>(lanes_.lanes.size());
      lanes_.lanes.push_back(
          {attribute, record, record != nullptr && !record->HasNoFineChannel(), {}, 1, {}, {}});
    }
    return laneOf_[attribute];
  }

  void AddBars(size_t run) {
    const StopRun& stopRun = lanes_.runs[run];
    for (uint8_t i = 0; i < stopRun.stop->entryCount; ++i) {
      const StopEntry& entry = stopRun.stop->entries[i];
      Lane& lane = lanes_.lanes[static_cast<size_t>(LaneOf(entry.attribute))];
      const int32_t low = lane.OnScale(entry.low);
      const int32_t high = lane.OnScale(entry.high);
      lane.bars.push_back({run, i, {std::min(low, high), std::max(low, high)}, low > high, 0});
      if (low > high) {
        problems_.Add(ProblemKind::kReversed, stopRun.first, [&] {
          return Capitalised(StopName(stopRun)) + " runs backwards on " + AttributeLabel(lane) +
                 ": " + std::to_string(low) + " to " + std::to_string(high) + ".";
        });
      }
      if (lane.attribute == nullptr) {
        problems_.Add(ProblemKind::kNoAttribute, stopRun.first, [&] {
          return Capitalised(StopName(stopRun)) + " sets attribute " +
                 std::to_string(entry.attribute) + ", which the template does not have.";
        });
      }
    }
  }

  static std::string AttributeLabel(const Lane& lane) {
    if (lane.attribute != nullptr && lane.attribute->typeName.IsSet()) {
      return lane.attribute->typeName.get();
    }
    return "attribute " + std::to_string(lane.number);
  }

 private:
  const FixtureTemplate& fixture_;
  StopLanes& lanes_;
  Problems& problems_;
  std::array<int, 256> laneOf_{};
};

std::vector<size_t> BarsByStart(const Lane& lane) {
  std::vector<size_t> order(lane.bars.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return lane.bars[a].values.from < lane.bars[b].values.from;
  });
  return order;
}

// Each bar takes the first row that is free where it begins; when none is,
// the row that frees first.
void StackBars(Lane& lane, const std::vector<size_t>& order) {
  std::array<int32_t, MOST_ROWS> rowEnds{};
  rowEnds.fill(-1);
  uint8_t used = 0;
  for (const size_t index : order) {
    Bar& bar = lane.bars[index];
    uint8_t row = 0;
    while (row < used && rowEnds[row] >= bar.values.from) ++row;
    if (row == MOST_ROWS) {
      row =
          static_cast<uint8_t>(std::min_element(rowEnds.begin(), rowEnds.end()) - rowEnds.begin());
    }
    used = std::max<uint8_t>(used, static_cast<uint8_t>(row + 1));
    bar.row = row;
    rowEnds[row] = std::max(rowEnds[row], bar.values.to);
  }
  lane.rows = std::max<uint8_t>(used, 1);
}

void FindGaps(Lane& lane, const std::vector<size_t>& order) {
  int32_t covered = -1;
  for (const size_t index : order) {
    const ValueSpan& values = lane.bars[index].values;
    if (values.from > covered + 1) lane.gaps.push_back({covered + 1, values.from - 1});
    covered = std::max(covered, values.to);
  }
  if (covered < lane.Top()) lane.gaps.push_back({covered + 1, lane.Top()});
}

std::vector<ValueSpan> Merged(std::vector<ValueSpan> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const ValueSpan& a, const ValueSpan& b) { return a.from < b.from; });
  std::vector<ValueSpan> merged;
  for (const ValueSpan& span : spans) {
    if (!merged.empty() && span.from <= merged.back().to + 1) {
      merged.back().to = std::max(merged.back().to, span.to);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

// Two stops overlap when they set at least one attribute in common and
// their ranges meet on every attribute they share. Pairs that meet on the
// lane where the fewest do are the candidates; stops without a value there
// are compared with every other.
class OverlapFinder {
 public:
  OverlapFinder(StopLanes& lanes, Problems& problems)
      : lanes_(lanes), problems_(problems), meetings_(lanes.lanes.size()) {
    barAt_.assign(lanes.runs.size() * lanes.lanes.size(), NO_BAR);
    for (size_t lane = 0; lane < lanes.lanes.size(); ++lane) {
      const std::vector<Bar>& bars = lanes.lanes[lane].bars;
      for (size_t bar = 0; bar < bars.size(); ++bar) {
        int& slot = barAt_[bars[bar].run * lanes.lanes.size() + lane];
        if (slot == NO_BAR) slot = static_cast<int>(bar);
      }
    }
  }

  void Find() {
    FindRepeats();
    if (!lanes_.lanes.empty()) FindOverlaps(PivotLane());
    if (budget_ < 0) {
      problems_.Add(ProblemKind::kOverlap, 0, [] {
        return std::string("Overlaps were sought among the first pairs of stops only.");
      });
    }
    for (size_t lane = 0; lane < meetings_.size(); ++lane) {
      lanes_.lanes[lane].overlaps = Merged(std::move(meetings_[lane]));
    }
  }

 private:
  static constexpr int NO_BAR = -1;
  // Lanes compared, over all pairs of one parameter.
  static constexpr int64_t MOST_LANE_CHECKS = int64_t{1} << 16;

  StopLanes& lanes_;
  Problems& problems_;
  std::vector<int> barAt_;  // each run's bar on each lane, or NO_BAR
  std::vector<std::vector<ValueSpan>> meetings_;
  int64_t budget_ = MOST_LANE_CHECKS;

  const Bar* BarAt(size_t run, size_t lane) const {
    const int bar = barAt_[run * lanes_.lanes.size() + lane];
    return bar == NO_BAR ? nullptr : &lanes_.lanes[lane].bars[static_cast<size_t>(bar)];
  }

  // A stop repeated is a stop that overlaps itself, whole.
  void FindRepeats() {
    for (size_t run = 0; run < lanes_.runs.size(); ++run) {
      const StopRun& stopRun = lanes_.runs[run];
      if (stopRun.count == 1) continue;
      for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) {
        if (const Bar* bar = BarAt(run, lane)) meetings_[lane].push_back(bar->values);
      }
      problems_.Add(ProblemKind::kRepeat, stopRun.first, [&] {
        return (stopRun.count == 2 ? "Stop " + std::to_string(stopRun.first + 1) + " repeats "
                                   : "Stops " + std::to_string(stopRun.first + 1) + " to " +
                                         std::to_string(stopRun.Last()) + " repeat ") +
               StopName(stopRun) + " exactly.";
      });
    }
  }

  // The lane on which the fewest pairs of bars meet.
  size_t PivotLane() const {
    size_t pivot = 0;
    int64_t fewest = INT64_MAX;
    for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) {
      const Lane& candidate = lanes_.lanes[lane];
      std::priority_queue<int32_t, std::vector<int32_t>, std::greater<>> ends;
      int64_t pairs = 0;
      for (const size_t index : BarsByStart(candidate)) {
        const ValueSpan& values = candidate.bars[index].values;
        while (!ends.empty() && ends.top() < values.from) ends.pop();
        pairs += static_cast<int64_t>(ends.size());
        ends.push(values.to);
      }
      if (pairs < fewest) {
        fewest = pairs;
        pivot = lane;
      }
    }
    return pivot;
  }

  void FindOverlaps(size_t pivot) {
    const Lane& lane = lanes_.lanes[pivot];
    std::vector<size_t> open;
    for (const size_t index : BarsByStart(lane)) {
      const Bar& bar = lane.bars[index];
      std::erase_if(open,
                    [&](size_t other) { return lane.bars[other].values.to < bar.values.from; });
      for (const size_t other : open) {
        if (!Compare(lane.bars[other].run, bar.run)) return;
      }
      open.push_back(index);
    }
    for (size_t run = 0; run < lanes_.runs.size(); ++run) {
      if (BarAt(run, pivot) != nullptr) continue;
      for (size_t other = 0; other < lanes_.runs.size(); ++other) {
        const bool loose = BarAt(other, pivot) == nullptr;
        if (other == run || (loose && other < run)) continue;
        if (!Compare(std::min(run, other), std::max(run, other))) return;
      }
    }
  }

  // False once the budget is spent.
  bool Compare(size_t first, size_t second) {
    bool shared = false;
    for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) {
      if (--budget_ < 0) return false;
      const Bar* a = BarAt(first, lane);
      const Bar* b = BarAt(second, lane);
      if (a == nullptr || b == nullptr) continue;
      if (a->values.to < b->values.from || b->values.to < a->values.from) return true;
      shared = true;
    }
    if (shared) Record(first, second);
    return true;
  }

  void Record(size_t first, size_t second) {
    std::string where;
    for (size_t lane = 0; lane < lanes_.lanes.size(); ++lane) {
      const Bar* a = BarAt(first, lane);
      const Bar* b = BarAt(second, lane);
      if (a == nullptr || b == nullptr) continue;
      const ValueSpan meeting{std::max(a->values.from, b->values.from),
                              std::min(a->values.to, b->values.to)};
      meetings_[lane].push_back(meeting);
      if (!where.empty()) where += ", ";
      where += LaneBuilder::AttributeLabel(lanes_.lanes[lane]) + " " + SpanText(meeting);
    }
    const StopRun& a = lanes_.runs[first];
    const StopRun& b = lanes_.runs[second];
    problems_.Add(ProblemKind::kOverlap, a.first, [&] {
      return Capitalised(StopName(a)) + " and " + StopName(b) + " overlap: " + where + ".";
    });
  }
};

}  // namespace

std::string QuotedLabel(const Stop& stop) {
  return stop.label.IsSet() ? "\"" + std::string(stop.label.get()) + "\"" : "without a label";
}

std::string SpanText(const ValueSpan& span) {
  return span.from == span.to ? std::to_string(span.from)
                              : std::to_string(span.from) + " to " + std::to_string(span.to);
}

StopLanes LanesOf(const FixtureTemplate& fixture, const Parameter& parameter) {
  StopLanes lanes;
  lanes.runs = RunsOf(parameter);
  Problems problems(lanes.problems);
  LaneBuilder builder(fixture, lanes, problems);
  for (size_t i = 0; i < parameter.attribCount; ++i) builder.LaneOf(parameter.attribList[i]);
  for (size_t run = 0; run < lanes.runs.size(); ++run) builder.AddBars(run);
  OverlapFinder(lanes, problems).Find();
  for (Lane& lane : lanes.lanes) {
    const std::vector<size_t> order = BarsByStart(lane);
    StackBars(lane, order);
    FindGaps(lane, order);
  }
  std::stable_sort(lanes.problems.begin(), lanes.problems.end(),
                   [](const StopProblem& a, const StopProblem& b) { return a.stop < b.stop; });
  problems.Close();
  return lanes;
}

const StopRun* StopLanes::RunOf(int stop) const {
  const auto after = std::upper_bound(runs.begin(), runs.end(), stop,
                                      [](int n, const StopRun& run) { return n < run.first; });
  if (after == runs.begin()) return nullptr;
  const StopRun& run = *std::prev(after);
  return stop <= run.Last() ? &run : nullptr;
}

}  // namespace fxt::chart
