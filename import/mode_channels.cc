#include "import/mode_channels.h"

#include <cmath>

#include "import/desk_text.h"
#include "import/json_path.h"
#include "import/pixel_order.h"

namespace fxt {
namespace {

constexpr std::string_view kPixelKey = "$pixelKey";

}  // namespace

std::string ForPixel(std::string_view text, std::string_view pixelKey) {
  std::string result;
  size_t at = 0;
  for (size_t found = text.find(kPixelKey); found != std::string_view::npos;
       found = text.find(kPixelKey, at)) {
    result.append(text.substr(at, found - at)).append(pixelKey);
    at = found + kPixelKey.size();
  }
  return result.append(text.substr(at));
}

uint64_t DefaultDmxValue(const LibraryChannel& channel) {
  if (!channel.defaultValue) return 0;
  if (!channel.defaultValue->percent) return static_cast<uint64_t>(channel.defaultValue->value);
  const long double highest = LargestDmxValue(channel.resolution);
  return static_cast<uint64_t>(std::llround(channel.defaultValue->value / 100 * highest));
}

ChannelIndex::ChannelIndex(const LibraryFixture& fixture) : fixture_(fixture) {
  for (const LibraryChannel& channel : fixture.channels) {
    Add(channel.key, {ModeChannel::Kind::kCoarse, false, &channel, 0, {}});
    for (size_t i = 0; i < channel.fineAliases.size(); ++i) {
      Add(channel.fineAliases[i],
          {ModeChannel::Kind::kFine, false, &channel, static_cast<int>(i + 1), {}});
    }
    for (const Capability& capability : channel.capabilities) {
      for (const auto& [alias, key] : capability.switchChannels) {
        Add(alias, {ModeChannel::Kind::kCoarse, true, &channel, 0, alias});
      }
    }
  }
  if (!fixture.matrix) return;
  for (const Pixel& pixel : fixture.matrix->pixels) pixelsAndGroups_.insert(pixel.key);
  for (const std::string& group : fixture.matrix->groups) pixelsAndGroups_.insert(group);
}

void ChannelIndex::Add(const std::string& key, Target target) {
  const size_t variable = key.find(kPixelKey);
  if (variable == std::string::npos) {
    plain_.emplace(key, std::move(target));
  } else {
    patterns_.emplace(key.substr(0, variable), std::pair{key, std::move(target)});
  }
}

// A key of the channels themselves comes first: it may stand in for one
// pixel of a template channel. Otherwise the key is a template key for a
// pixel: the pixel key begins where the template's text before $pixelKey ends.
ChannelIndex::Found ChannelIndex::Find(const std::string& key) const {
  if (const auto plain = plain_.find(key); plain != plain_.end()) return {&plain->second, {}};
  for (size_t length = 0; length <= key.size(); ++length) {
    const auto [begin, end] = patterns_.equal_range(key.substr(0, length));
    for (auto it = begin; it != end; ++it) {
      const std::string& pattern = it->second.first;
      for (size_t size = 0; length + size <= key.size(); ++size) {
        const std::string pixel = key.substr(length, size);
        if (pixelsAndGroups_.contains(pixel) && ForPixel(pattern, pixel) == key) {
          return {&it->second.second, pixel};
        }
      }
    }
  }
  return {};
}

// The key that a switching alias stands for while the channel that switches
// it stands at its default value.
bool ChannelIndex::SwitchedKey(const Found& found, std::string& key, std::string& problem) const {
  const LibraryChannel& by = *found.target->channel;
  const uint64_t value = DefaultDmxValue(by);
  for (const Capability& capability : by.capabilities) {
    if (value < capability.low || value > capability.high) continue;
    for (const auto& [alias, target] : capability.switchChannels) {
      if (alias != found.target->alias) continue;
      key = ForPixel(target, found.pixelKey);
      return true;
    }
  }
  problem = MemberPath(by.path, "defaultValue") + ": the default value " + std::to_string(value) +
            " lies in no capability that switches " + Quoted(found.target->alias);
  return false;
}

bool ChannelIndex::ResolveKey(const std::string& key, const std::string& path, ModeChannel& out,
                              std::string& problem) const {
  Found found = Find(key);
  if (found.target == nullptr) {
    problem = path + ": no channel, fine channel or switching channel is named " + Quoted(key);
    return false;
  }
  if (found.target->switching) {
    std::string switched;
    if (!SwitchedKey(found, switched, problem)) return false;
    out.switchingAlias = key;
    out.switchedBy = found.target->channel;
    found = Find(switched);
    if (found.target == nullptr || found.target->switching) {
      problem = path + ": the switching channel " + Quoted(key) + " stands for " +
                Quoted(switched) + ", which is no channel or fine channel";
      return false;
    }
  }
  out.kind = found.target->kind;
  out.channel = found.target->channel;
  out.fineIndex = found.target->fineIndex;
  out.pixelKey = found.pixelKey;
  return true;
}

bool ChannelIndex::PixelsFor(const ModeEntry& entry, std::vector<std::string>& pixels,
                             std::string& problem) const {
  if (!fixture_.matrix) {
    problem = entry.path + ": the fixture has no matrix";
    return false;
  }
  if (entry.repeatKeys.empty()) {
    pixels = PixelOrder(*fixture_.matrix, entry.repeatFor);
    if (!pixels.empty()) return true;
    problem = MemberPath(entry.path, "repeatFor") + ": the matrix has no pixel groups";
    return false;
  }
  for (size_t i = 0; i < entry.repeatKeys.size(); ++i) {
    if (!pixelsAndGroups_.contains(entry.repeatKeys[i])) {
      problem = IndexPath(MemberPath(entry.path, "repeatFor"), i) + ": " +
                Quoted(entry.repeatKeys[i]) + " is no pixel or pixel group of the matrix";
      return false;
    }
  }
  pixels = entry.repeatKeys;
  return true;
}

ResolvedMode ChannelIndex::Resolve(const LibraryMode& mode) const {
  ResolvedMode resolved;
  std::string& problem = resolved.problem;
  const auto add = [&](const std::optional<std::string>& key, const std::string& path) {
    ModeChannel channel;
    if (key && !ResolveKey(*key, path, channel, problem)) return false;
    resolved.channels.push_back(std::move(channel));
    return true;
  };
  for (const ModeEntry& entry : mode.entries) {
    if (entry.kind != ModeEntry::Kind::kMatrixInsert) {
      if (!add(entry.kind == ModeEntry::Kind::kChannel ? std::optional(entry.key) : std::nullopt,
               entry.path)) {
        return resolved;
      }
      continue;
    }
    std::vector<std::string> pixels;
    if (!PixelsFor(entry, pixels, problem)) return resolved;
    const std::string templatesPath = MemberPath(entry.path, "templateChannels");
    const size_t templates = entry.templateChannels.size();
    for (size_t n = 0; n < pixels.size() * templates; ++n) {
      const size_t pixel = entry.perPixel ? n / templates : n % pixels.size();
      const size_t which = entry.perPixel ? n % templates : n / pixels.size();
      const std::optional<std::string>& key = entry.templateChannels[which];
      if (!add(key ? std::optional(ForPixel(*key, pixels[pixel])) : std::nullopt,
               IndexPath(templatesPath, which))) {
        return resolved;
      }
    }
  }
  return resolved;
}

}  // namespace fxt
