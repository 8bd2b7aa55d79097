#include "chart/footprint.h"

#include <algorithm>

namespace fxt::chart {
namespace {

// A problem names at most this many attributes, then how many more.
constexpr size_t MOST_NAMED = 6;

bool IsIntensity(const Attribute& attribute) {
  return attribute.kind == KIND_INTENSITY || attribute.kind == KIND_INTENSITY_LISTED;
}

std::optional<int32_t> Drawn(int32_t channel) {
  if (channel < 0 || channel > MOST_CHANNELS) return std::nullopt;
  return channel;
}

// Each attribute block as written, matched to the model's
// attributes by the line that opened the block.
std::vector<const WrittenAttribute*> WrittenLines(const FixtureTemplate& fixture,
                                                  const ChartSource& source) {
  std::vector<const WrittenAttribute*> written(fixture.attributeCount, nullptr);
  auto next = source.writtenAttributes.begin();
  for (int n = 1; n <= fixture.attributeCount; ++n) {
    const int32_t line = fixture.AttributeAt(n)->sourceLine;
    next = std::find_if(next, source.writtenAttributes.end(),
                        [&](const WrittenAttribute& block) { return block.line >= line; });
    if (next != source.writtenAttributes.end() && next->line == line) {
      written[static_cast<size_t>(n - 1)] = &*next;
    }
  }
  return written;
}

FootprintAttribute PlaceAttribute(const Attribute& attribute, int number,
                                  const WrittenAttribute* written) {
  const int32_t channel = attribute.channel + 1;
  FootprintAttribute placed{number,
                            &attribute,
                            Drawn(channel),
                            std::nullopt,
                            IsIntensity(attribute),
                            written != nullptr && !written->hasChannelLine};
  if (!attribute.HasNoFineChannel()) placed.fineChannel = Drawn(attribute.fineChannel + 1);
  return placed;
}

std::string UsesText(const Footprint& footprint, const FootprintCell& cell) {
  std::string text;
  const size_t named = std::min(cell.uses.size(), MOST_NAMED);
  for (size_t i = 0; i < named; ++i) {
    if (i > 0) text += i + 1 == cell.uses.size() ? " and " : ", ";
    const ChannelUse& use = cell.uses[i];
    const FootprintAttribute& user = footprint.attributes[static_cast<size_t>(use.number - 1)];
    text += AttributeName(user.attribute, use.number);
    if (use.fine) text += " (fine)";
  }
  if (cell.uses.size() > named)
    text += " and " + std::to_string(cell.uses.size() - named) + " more";
  return text;
}

void FindProblems(Footprint& footprint) {
  for (const FootprintCell& cell : footprint.cells) {
    if (cell.uses.size() < 2) continue;
    footprint.problems.push_back({"Channel " + std::to_string(cell.channel) + " is taken by " +
                                      std::to_string(cell.uses.size()) +
                                      " attributes: " + UsesText(footprint, cell) + ".",
                                  0, true});
  }
  for (const FootprintAttribute& placed : footprint.attributes) {
    const std::string name = AttributeName(placed.attribute, placed.number);
    const int32_t channel = placed.attribute->channel + 1;
    if (placed.noChannelLine) {
      footprint.problems.push_back(
          {name + " has no channel= line, so it takes channel " + std::to_string(channel) + ".",
           placed.number, false});
    }
    if (!placed.channel) {
      footprint.problems.push_back({name + "'s channel " + std::to_string(channel) +
                                        " lies outside 0 to 512 and is not drawn.",
                                    placed.number, true});
    }
  }
  const auto beyond = std::find_if(
      footprint.cells.rbegin(), footprint.cells.rend(),
      [](const FootprintCell& cell) { return cell.beyondNumDmx && !cell.uses.empty(); });
  if (beyond != footprint.cells.rend()) {
    footprint.problems.push_back({"numDMX= says " + std::to_string(*footprint.numDmx) +
                                      " channels, but attributes take channels up to " +
                                      std::to_string(beyond->channel) + ".",
                                  0, false});
  }
}

}  // namespace

std::string AttributeName(const Attribute* attribute, int number) {
  if (attribute != nullptr && attribute->typeName.IsSet()) return attribute->typeName.get();
  return "attribute " + std::to_string(number);
}

const FootprintCell* Footprint::CellOf(int32_t channel) const {
  if (cells.empty() || channel < cells.front().channel || channel > cells.back().channel) {
    return nullptr;
  }
  return &cells[static_cast<size_t>(channel - cells.front().channel)];
}

Footprint FootprintOf(const FixtureTemplate& fixture, const ChartSource& source) {
  Footprint footprint;
  if (source.numDmx) footprint.numDmx = std::clamp(*source.numDmx, 0, MOST_CHANNELS);
  const std::vector<const WrittenAttribute*> written = WrittenLines(fixture, source);
  int32_t first = 1;
  int32_t last = footprint.numDmx.value_or(0);
  for (int n = 1; n <= fixture.attributeCount; ++n) {
    const FootprintAttribute placed =
        PlaceAttribute(*fixture.AttributeAt(n), n, written[static_cast<size_t>(n - 1)]);
    for (const std::optional<int32_t>& channel : {placed.channel, placed.fineChannel}) {
      if (!channel) continue;
      first = std::min(first, *channel);
      last = std::max(last, *channel);
    }
    footprint.attributes.push_back(placed);
  }
  for (int32_t channel = first; channel <= last; ++channel) {
    footprint.cells.push_back(
        {channel, {}, source.numDmx.has_value() && channel > *footprint.numDmx});
  }
  for (const FootprintAttribute& placed : footprint.attributes) {
    auto use = [&](const std::optional<int32_t>& channel, bool fine) {
      if (channel)
        footprint.cells[static_cast<size_t>(*channel - first)].uses.push_back(
            {placed.number, fine});
    };
    use(placed.channel, false);
    use(placed.fineChannel, true);
  }
  FindProblems(footprint);
  return footprint;
}

}  // namespace fxt::chart
