// The DMX footprint of a template: which attribute takes each channel,
// coarse or fine, and what is wrong with the channels, in words.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart_source.h"
#include "model/fixture_template.h"

namespace fxt::chart {

// The most channels a chart draws: one DMX universe.
inline constexpr int32_t MOST_CHANNELS = 512;

struct ChannelUse {
  int number;  // the attribute's, from 1
  bool fine;
};

struct FootprintCell {
  int32_t channel;  // the DMX channel; 0 is the intensity's channel 0
  std::vector<ChannelUse> uses;
  bool beyondNumDmx;
};

struct FootprintAttribute {
  int number;  // from 1
  const Attribute* attribute;
  std::optional<int32_t> channel;      // the DMX channel, when the chart draws it
  std::optional<int32_t> fineChannel;  // the fine DMX channel, when it has one that is drawn
  bool intensity;
  bool noChannelLine;  // its block has no channel= line
};

// What is wrong, in words, and the attribute it concerns (0 for a channel).
struct FootprintProblem {
  std::string text;  // the template's bytes where it names an attribute
  int attribute;
  bool error;  // an error, else a warning
};

struct Footprint {
  std::vector<FootprintAttribute> attributes;  // in order
  std::vector<FootprintCell> cells;            // from the first channel drawn, in order
  std::optional<int32_t> numDmx;
  std::vector<FootprintProblem> problems;

  const FootprintCell* CellOf(int32_t channel) const;
};

Footprint FootprintOf(const FixtureTemplate& fixture, const ChartSource& source);

// An attribute as the chart names it: its name, or "attribute N" without
// one. Bytes of the template, each one character.
std::string AttributeName(const Attribute* attribute, int number);

}  // namespace fxt::chart
