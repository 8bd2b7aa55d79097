// Follows a template through the tester's own reading of it: which lines
// open templates, attribute blocks and parameter blocks, and where the lines
// stand that the rules and notes speak of. It keeps only what the current
// template needs, so its memory does not grow with the file.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "load/load_observer.h"

namespace fxt {

// A value line: the number it gives and where it stands.
struct ValueLine {
  int32_t value;
  SourcePosition position;
};

struct TrackedAttribute {
  SourcePosition line;                   // its attribute line
  std::optional<ValueLine> channel;      // its first channel= line
  std::optional<ValueLine> fineChannel;  // its last finechan= line
  std::optional<ValueLine> homeValue;    // its last homeval= line that gave a number

  // Without a channel= line an attribute takes DMX channel 1.
  int32_t DmxChannel() const { return channel ? channel->value : 1; }
  SourcePosition ChannelLine() const { return channel ? channel->position : line; }
  // finechan=0 means no fine channel, as an absent line does.
  bool HasFineChannel() const { return fineChannel && fineChannel->value != 0; }
};

enum class Block : uint8_t { kNone, kHeader, kAttribute, kParameter };

// Told when a block or a template closes, before the tracker forgets it.
class TrackerListener {
 public:
  virtual ~TrackerListener() = default;
  virtual void TemplateOpened() {}
  virtual void AttributeClosed(const TrackedAttribute& /*attribute*/) {}
  virtual void ParameterOpened() {}
  virtual void TemplateClosed(bool /*byEndLine*/) {}
};

class TemplateTracker {
 public:
  explicit TemplateTracker(TrackerListener* listener = nullptr) : listener_(listener) {}

  void BeforeLine(const LineEvent& line, StateFn state);
  void AfterLine(const LineEvent& line, StateFn state);
  // Closes what the load left open.
  void End();

  Block CurrentBlock() const { return block_; }
  bool SawTemplate() const { return sawTemplate_; }
  bool InTemplate() const { return block_ != Block::kNone; }
  SourcePosition FixtureLine() const { return fixtureLine_; }
  // The attributes of the current template, in order; the last is the
  // current one while an attribute block is open.
  const std::vector<TrackedAttribute>& Attributes() const { return attributes_; }
  const TrackedAttribute* CurrentAttribute() const {
    return block_ == Block::kAttribute ? &attributes_.back() : nullptr;
  }
  // The channel= line that claimed each DMX channel 0 to 64 in this
  // template, as the tester records them.
  const std::optional<SourcePosition>& ChannelClaim(int32_t channel) const;
  // The attribute whose channel= line claimed DMX channel `channel` first,
  // or null.
  const TrackedAttribute* OwnerOf(int32_t channel) const;
  // The channels of the current parameter's attriblist= line, each as the
  // tester keeps it (its low 8 bits).
  const std::vector<uint8_t>& ListedChannels() const { return listedChannels_; }
  // Where the load's intensity attribute was declared, if it was.
  const std::optional<SourcePosition>& IntensityLine() const { return intensityLine_; }
  // The parameter line of the current template's first parameter that took
  // each displayer number.
  const std::optional<SourcePosition>& DisplayerLine(uint8_t displayer) const {
    return displayerLines_[displayer];
  }

 private:
  TrackerListener* listener_;
  StateFn stateBefore_ = nullptr;
  Block block_ = Block::kNone;
  bool sawTemplate_ = false;
  SourcePosition fixtureLine_;
  std::vector<TrackedAttribute> attributes_;
  std::array<std::optional<SourcePosition>, 65> channelClaims_{};
  std::optional<SourcePosition> intensityLine_;
  std::array<std::optional<SourcePosition>, 256> displayerLines_{};
  SourcePosition parameterLine_;
  std::vector<uint8_t> listedChannels_;

  void CloseBlock();
  void OpenTemplate(SourcePosition position);
  void AttributeLine(const LineEvent& line);
  void ParameterLine(const LineEvent& line);
  void ListLine(const LineEvent& line);
};

// The decimal value of a line's value text, as the tester reads it.
int32_t ValueOf(const LineEvent& line);

}  // namespace fxt
