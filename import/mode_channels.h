// A mode's channel list as DMX channels: matrix insert blocks expanded for
// their pixels, template channels resolved for a pixel, fine channels tied to
// their coarse channel, switching channels taken at the default value of the
// channel that switches them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "import/library_fixture.h"

namespace fxt {

// One DMX channel of a mode.
struct ModeChannel {
  enum class Kind : uint8_t { kCoarse, kFine, kUnused };
  Kind kind = Kind::kUnused;
  const LibraryChannel* channel = nullptr;  // for a coarse or fine channel
  std::string pixelKey;  // the pixel or pixel group a template channel stands for
  int fineIndex = 0;     // 1 for the channel's first fine channel, 2 for its second ...
  // A switching channel: the alias the mode names, and the channel whose
  // default value chose `channel`.
  std::string switchingAlias;
  const LibraryChannel* switchedBy = nullptr;
};

struct ResolvedMode {
  std::vector<ModeChannel> channels;  // channel n of the mode at index n - 1
  std::string problem;                // "JSONPATH: what", when the mode names what is not there
};

// A text of a template channel for one pixel: $pixelKey replaced.
std::string ForPixel(std::string_view text, std::string_view pixelKey);

// A channel's DMX value for a default: a percentage taken of the whole range.
uint64_t DefaultDmxValue(const LibraryChannel& channel);

// Finds what the keys of a fixture's modes stand for.
class ChannelIndex {
 public:
  explicit ChannelIndex(const LibraryFixture& fixture);
  ResolvedMode Resolve(const LibraryMode& mode) const;

 private:
  struct Target {
    ModeChannel::Kind kind = ModeChannel::Kind::kCoarse;
    bool switching = false;  // `channel` switches the alias
    const LibraryChannel* channel = nullptr;
    int fineIndex = 0;
    std::string alias;  // a switching alias as its channel writes it
  };
  struct Found {
    const Target* target = nullptr;
    std::string pixelKey;
  };

  void Add(const std::string& key, Target target);
  Found Find(const std::string& key) const;
  bool ResolveKey(const std::string& key, const std::string& path, ModeChannel& out,
                  std::string& problem) const;
  bool SwitchedKey(const Found& found, std::string& key, std::string& problem) const;
  bool PixelsFor(const ModeEntry& entry, std::vector<std::string>& pixels,
                 std::string& problem) const;

  const LibraryFixture& fixture_;
  std::unordered_map<std::string, Target> plain_;
  // Template keys by the text before their first $pixelKey.
  std::unordered_multimap<std::string, std::pair<std::string, Target>> patterns_;
  std::unordered_set<std::string> pixelsAndGroups_;
};

}  // namespace fxt
