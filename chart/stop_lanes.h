// A parameter's stops laid out for a chart: one lane per attribute that it
// drives, each stop's value range for that attribute as a bar on the lane,
// and what the ranges say in words: stops that repeat the stop before them,
// stops that overlap, ranges that run backwards, values that no stop covers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/fixture_template.h"

namespace fxt::chart {

// A stop, and the stops right after it that repeat it exactly: drawn once.
struct StopRun {
  int first;  // the stop's number, from 1
  int count;
  const Stop* stop;

  int Last() const { return first + count - 1; }
};

// Values on a lane's scale, both ends included: DMX values 0 to 255 for an
// 8-bit attribute, 0 to 65535 for a 16-bit one.
struct ValueSpan {
  int32_t from;
  int32_t to;
};

struct Bar {
  size_t run;        // in StopLanes::runs
  uint8_t entry;     // the stop's entry it draws
  ValueSpan values;  // from <= to
  bool reversed;     // the entry's low lies above its high
  uint8_t row;       // where it stands among the lane's rows, from 0
};

struct Lane {
  int number;                  // the attribute's, from 1
  const Attribute* attribute;  // null when the template has none of that number
  bool sixteenBit;
  std::vector<Bar> bars;
  uint8_t rows = 1;
  std::vector<ValueSpan> gaps;      // values that no stop sets, in order
  std::vector<ValueSpan> overlaps;  // values where overlapping stops meet, in order

  int32_t Top() const { return sixteenBit ? UINT16_MAX : UINT8_MAX; }
  // A stored value, on the 16-bit scale, on this lane's scale.
  int32_t OnScale(uint16_t stored) const { return sixteenBit ? stored : stored >> 8; }
};

struct StopProblem {
  std::string text;  // the template's bytes where it quotes a label or a name
  int stop;          // the stop it concerns, from 1
};

struct StopLanes {
  std::vector<StopRun> runs;
  std::vector<Lane> lanes;  // the attribute list's order, then attributes only stops name
  std::vector<StopProblem> problems;

  // The run that draws the stop, by number from 1.
  const StopRun* RunOf(int stop) const;
};

// The most rows a lane stacks overlapping bars in; further bars share the
// row that frees first.
inline constexpr uint8_t MOST_ROWS = 6;

StopLanes LanesOf(const FixtureTemplate& fixture, const Parameter& parameter);

// "Red" with its quotes, or "without a label".
std::string QuotedLabel(const Stop& stop);
// "128", or "0 to 31".
std::string SpanText(const ValueSpan& span);

}  // namespace fxt::chart
