#include "lsp/blocks.h"

#include <algorithm>
#include <iterator>

#include "lsp/record_words.h"

namespace fxt::lsp {

std::vector<Block> BlocksOf(const Analysis& analysis, int32_t lineCount) {
  std::vector<Block> blocks;
  const FixtureTemplate* fixture = analysis.fixture.get();
  if (fixture == nullptr) return blocks;
  blocks.push_back({Block::Kind::kHeader, fixture->sourceLine, 0, 0, nullptr, nullptr});
  const Attribute* attribute = &fixture->firstAttribute;
  for (int n = 1; n <= fixture->attributeCount; ++n, attribute = attribute->next.get()) {
    blocks.push_back({Block::Kind::kAttribute, attribute->sourceLine, 0, n, attribute, nullptr});
  }
  const Parameter* parameter = &fixture->firstParameter;
  for (int n = 1; n <= fixture->parameterCount; ++n, parameter = parameter->next.get()) {
    blocks.push_back({Block::Kind::kParameter, parameter->sourceLine, 0, n, nullptr, parameter});
  }
  std::stable_sort(blocks.begin(), blocks.end(),
                   [](const Block& a, const Block& b) { return a.firstLine < b.firstLine; });
  const int32_t last = analysis.endLine != 0 ? analysis.endLine - 1 : lineCount;
  for (size_t i = 0; i + 1 < blocks.size(); ++i) blocks[i].lastLine = blocks[i + 1].firstLine - 1;
  if (!blocks.empty()) blocks.back().lastLine = last;
  return blocks;
}

// The blocks follow each other without a gap: the one that holds the line
// is the last that begins at or above it.
Block BlockAt(const std::vector<Block>& blocks, int32_t line) {
  const auto after = std::upper_bound(blocks.begin(), blocks.end(), line,
                                      [](int32_t at, const Block& b) { return at < b.firstLine; });
  if (after == blocks.begin()) return {};
  const Block& block = *std::prev(after);
  return line <= block.lastLine ? block : Block{};
}

const Stop* StopOn(const Parameter& parameter, int32_t line) {
  const Stop* stop = &parameter.firstStop;
  for (int n = 1; n <= parameter.stopCount && stop != nullptr; ++n, stop = stop->next.get()) {
    if (stop->sourceLine == line) return stop;
  }
  return nullptr;
}

const Attribute* AttributeOnChannel(const FixtureTemplate& fixture, int channel) {
  const Attribute* attribute = &fixture.firstAttribute;
  for (int n = 1; n <= fixture.attributeCount; ++n, attribute = attribute->next.get()) {
    if (DmxChannelOf(*attribute) == channel) return attribute;
  }
  return nullptr;
}

const Attribute* AttributeOfSlot(const FixtureTemplate& fixture, const Parameter& parameter,
                                 const Stop* stop, size_t value) {
  if (stop != nullptr && value < stop->entryCount) {
    return fixture.AttributeAt(stop->entries[value].attribute);
  }
  if (value < parameter.attribCount) return fixture.AttributeAt(parameter.attribList[value]);
  return nullptr;
}

}  // namespace fxt::lsp
