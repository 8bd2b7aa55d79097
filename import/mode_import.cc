#include "import/mode_import.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "import/channel_role.h"
#include "import/desk_text.h"
#include "import/stop_labels.h"
#include "import/stop_plan.h"

namespace fxt {
namespace {

constexpr int NO_DISPLAYER = 30;     // the desk's mark for a parameter without a displayer
constexpr size_t PRODUCT_KEPT = 87;  // product = "..." stays within a line of 99

// The attribute that a coarse channel of the mode becomes.
struct ChannelAttribute {
  const ModeChannel* use = nullptr;
  int channel = 0;
  int fineChannel = 0;
  ChannelRole role = ChannelRole::kOther;
  bool intensity = false;
};

using ChannelOfPixel = std::tuple<const LibraryChannel*, std::string, int>;

class ModeImport {
 public:
  ModeImport(const ImportSource& source, const LibraryMode& mode, const ResolvedMode& resolved)
      : source_(source), mode_(mode), resolved_(resolved) {}

  TemplatePlan Plan();

 private:
  void Header();
  void CollectChannels();
  void AddCoarse(const ModeChannel& use, int channel);
  void CheckFine(const ModeChannel& use, int channel);
  void ChooseIntensity();
  void NumberWheels();
  void AddAttribute(const ChannelAttribute& source, const std::string& name);
  void AddParameter(const ChannelAttribute& source, const std::string& name);
  std::string TableOrOwnName(const ChannelAttribute& source, bool parameter);
  std::string UniqueName(const std::string& name, std::set<std::string>& used);
  std::string ChannelText(int channel, const ModeChannel& use) const;
  void Lose(const std::string& text);

  const ImportSource& source_;
  const LibraryMode& mode_;
  const ResolvedMode& resolved_;
  TemplatePlan plan_;
  std::vector<ChannelAttribute> attributes_;
  std::map<ChannelOfPixel, int> channelOf_;  // (channel, pixel, fine index) -> DMX channel
  std::map<ChannelRole, int> roleCounts_;
  std::map<ChannelRole, int> roleSeen_;
  std::set<std::string> attributeNames_{"INTENSITY"};
  std::set<std::string> parameterNames_;
  WheelNumbers wheels_;
  int nextDisplayer_ = 1;
};

std::string ChannelName(const ModeChannel& use) {
  const LibraryChannel& channel = *use.channel;
  const std::string& name = use.fineIndex == 0
                                ? channel.name
                                : channel.fineAliases[static_cast<size_t>(use.fineIndex - 1)];
  return RemarkText(ForPixel(name, use.pixelKey));
}

std::string ModeImport::ChannelText(int channel, const ModeChannel& use) const {
  return "channel " + std::to_string(channel) + " (" + Quoted(ChannelName(use)) + ")";
}

void ModeImport::Lose(const std::string& text) {
  plan_.remarks.push_back(text);
  plan_.losses.push_back(text);
}

void ModeImport::Header() {
  const LibraryFixture& fixture = *source_.fixture;
  const std::string name = DeskText(fixture.name);
  const std::string shortName = DeskText(fixture.shortName);
  plan_.modelName = name.size() <= MODEL_NAME_KEPT        ? name
                    : shortName.size() <= MODEL_NAME_KEPT ? shortName
                                                          : Shortened(name, MODEL_NAME_KEPT);
  // A name of blanks alone would be no name at all to the desk.
  if (plan_.modelName.empty()) plan_.modelName = "Fixture";
  plan_.manufacturer = source_.manufacturer;
  plan_.product = Shortened(
      DeskText(source_.manufacturerName + " " + fixture.name + ", " + mode_.name + " mode"),
      PRODUCT_KEPT);
  const int channels = static_cast<int>(resolved_.channels.size());
  plan_.dmxChannels = std::min(channels, TEMPLATE_CHANNELS);
  plan_.remarks.push_back("Imported by fxtimport from " + RemarkText(source_.fileName) + ", mode " +
                          Quoted(RemarkText(mode_.name)) + ": " + std::to_string(channels) +
                          " DMX channels.");
}

void ModeImport::CollectChannels() {
  for (size_t i = 0; i < resolved_.channels.size(); ++i) {
    const ModeChannel& use = resolved_.channels[i];
    if (use.kind != ModeChannel::Kind::kUnused) {
      channelOf_.emplace(ChannelOfPixel{use.channel, use.pixelKey, use.fineIndex},
                         static_cast<int>(i + 1));
    }
  }
  for (size_t i = 0; i < resolved_.channels.size(); ++i) {
    const int channel = static_cast<int>(i + 1);
    const ModeChannel& use = resolved_.channels[i];
    if (channel > TEMPLATE_CHANNELS) {
      Lose("channels " + std::to_string(channel) + " to " +
           std::to_string(resolved_.channels.size()) +
           " are skipped: a template holds DMX channels 1 to " + std::to_string(TEMPLATE_CHANNELS));
      return;
    }
    if (use.kind == ModeChannel::Kind::kUnused) {
      plan_.remarks.push_back("channel " + std::to_string(channel) + " is unused");
    } else if (use.kind == ModeChannel::Kind::kFine) {
      CheckFine(use, channel);
    } else {
      AddCoarse(use, channel);
    }
  }
}

void ModeImport::AddCoarse(const ModeChannel& use, int channel) {
  ChannelAttribute attribute{&use, channel, 0, RoleOf(*use.channel, *source_.fixture), false};
  if (use.switchedBy != nullptr) {
    plan_.remarks.push_back(ChannelText(channel, use) + " is the switching channel " +
                            Quoted(RemarkText(use.switchingAlias)) + ", taken as it is while " +
                            Quoted(RemarkText(ForPixel(use.switchedBy->name, use.pixelKey))) +
                            " stands at its default value");
  }
  const auto fine = channelOf_.find({use.channel, use.pixelKey, 1});
  if (fine != channelOf_.end() && fine->second <= TEMPLATE_CHANNELS) {
    attribute.fineChannel = fine->second;
  } else if (fine != channelOf_.end()) {
    Lose(ChannelText(channel, use) + ": its fine channel " + std::to_string(fine->second) +
         " is beyond channel " + std::to_string(TEMPLATE_CHANNELS) +
         ", so the attribute is an 8-bit one");
  }
  attributes_.push_back(attribute);
}

void ModeImport::CheckFine(const ModeChannel& use, int channel) {
  const auto coarse = channelOf_.find({use.channel, use.pixelKey, 0});
  const std::string coarseName = Quoted(RemarkText(ForPixel(use.channel->name, use.pixelKey)));
  if (coarse == channelOf_.end() || coarse->second > TEMPLATE_CHANNELS) {
    Lose(ChannelText(channel, use) + " is skipped: it is a fine channel of " + coarseName +
         ", which the template does not hold");
  } else if (use.fineIndex > 1) {
    Lose(ChannelText(channel, use) + " is skipped: it is a second fine channel of " + coarseName +
         ", and an attribute has one fine channel");
  }
}

// The first dimmer is the intensity attribute; a template has one.
void ModeImport::ChooseIntensity() {
  bool chosen = false;
  for (ChannelAttribute& attribute : attributes_) {
    if (attribute.role != ChannelRole::kIntensity) continue;
    if (!chosen) {
      attribute.intensity = chosen = true;
      continue;
    }
    attribute.role = ChannelRole::kOther;
    Lose(ChannelText(attribute.channel, *attribute.use) +
         " is a dimmer too, but a template has one intensity attribute: it is an ordinary one");
  }
  for (const ChannelAttribute& attribute : attributes_) ++roleCounts_[attribute.role];
}

void ModeImport::NumberWheels() {
  for (const ChannelAttribute& attribute : attributes_) {
    for (const Capability& capability : attribute.use->channel->capabilities) {
      if (capability.type < CapabilityType::kWheelSlot ||
          capability.type > CapabilityType::kWheelRotation) {
        continue;
      }
      const std::string& wheel = capability.wheels.front();
      const WheelKind kind = WheelKindNamed(*source_.fixture, wheel);
      if (wheels_.number.contains(wheel)) continue;
      if (kind == WheelKind::kGobo) wheels_.number[wheel] = ++wheels_.goboWheels;
      if (kind == WheelKind::kColour) wheels_.number[wheel] = ++wheels_.colourWheels;
    }
  }
}

// The table's name for the role, the first for the only channel of its role
// and the numbered ones for the first of several; else the channel's own
// name, upper-cased as the table's names are.
std::string ModeImport::TableOrOwnName(const ChannelAttribute& source, bool parameter) {
  const RoleNames& names = NamesOf(source.role);
  const auto& table = parameter ? names.parameterNames : names.attributeNames;
  const int seen = roleSeen_[source.role];  // counted once both names are made
  const size_t which = roleCounts_[source.role] == 1 || table[1] == nullptr
                           ? (seen == 0 ? 0 : table.size())
                           : static_cast<size_t>(seen + 1);
  std::set<std::string>& used = parameter ? parameterNames_ : attributeNames_;
  if (which < table.size() && table[which] != nullptr && !used.contains(table[which])) {
    used.insert(table[which]);
    return table[which];
  }
  std::string own = UpperCase(DeskText(ForPixel(source.use->channel->name, source.use->pixelKey)));
  if (own.empty()) own = "CHANNEL " + std::to_string(source.channel);
  if (parameter) own = "-" + own + "-";
  return UniqueName(own, used);
}

std::string ModeImport::UniqueName(const std::string& name, std::set<std::string>& used) {
  std::string candidate = Shortened(name, NAME_KEPT);
  for (int n = 2; used.contains(candidate); ++n) {
    const std::string suffix = " " + std::to_string(n);
    candidate = Shortened(name, NAME_KEPT - suffix.size()) + suffix;
  }
  used.insert(candidate);
  return candidate;
}

void ModeImport::AddAttribute(const ChannelAttribute& source, const std::string& name) {
  const LibraryChannel& channel = *source.use->channel;
  PlannedAttribute attribute;
  attribute.name = name;
  attribute.type = NamesOf(source.role).attributeType;
  attribute.channel = source.channel;
  attribute.fineChannel = source.fineChannel;
  if (channel.defaultValue) {
    attribute.homeValue = Scaled(DefaultDmxValue(channel), channel.resolution,
                                 source.fineChannel != 0 ? 2 : 1, false);
  }
  plan_.attributes.push_back(std::move(attribute));
}

void ModeImport::AddParameter(const ChannelAttribute& source, const std::string& name) {
  const StopContext context{source_.fixture, &wheels_, ChannelText(source.channel, *source.use),
                            &plan_.losses};
  const size_t lossesBefore = plan_.losses.size();
  std::vector<PlannedStop> stops =
      PlanStops(*source.use->channel, source.fineChannel != 0 ? 2 : 1, context);
  for (size_t i = lossesBefore; i < plan_.losses.size(); ++i) {
    plan_.remarks.push_back(plan_.losses[i]);
  }
  if (stops.empty()) return;
  if (nextDisplayer_ == NO_DISPLAYER) ++nextDisplayer_;
  plan_.parameters.push_back({name, NamesOf(source.role).parameterType, source.channel,
                              nextDisplayer_++, std::move(stops)});
}

TemplatePlan ModeImport::Plan() {
  Header();
  CollectChannels();
  ChooseIntensity();
  NumberWheels();
  for (const ChannelAttribute& attribute : attributes_) {
    const std::string attributeName =
        attribute.intensity ? "INTENSITY" : TableOrOwnName(attribute, false);
    const std::string parameterName = TableOrOwnName(attribute, true);
    ++roleSeen_[attribute.role];
    AddAttribute(attribute, attributeName);
    AddParameter(attribute, parameterName);
  }
  const bool hasIntensity = std::any_of(attributes_.begin(), attributes_.end(),
                                        [](const ChannelAttribute& a) { return a.intensity; });
  if (!hasIntensity) {
    plan_.remarks.emplace_back(
        "the fixture has no dimmer: the intensity attribute is on channel 0");
    PlannedAttribute intensity;
    intensity.name = "INTENSITY";
    intensity.type = NamesOf(ChannelRole::kIntensity).attributeType;
    plan_.attributes.push_back(std::move(intensity));
  }
  return std::move(plan_);
}

}  // namespace

uint32_t Scaled(uint64_t value, int from, int to, bool rangeEnd) {
  if (from > to) return static_cast<uint32_t>(value >> (8 * (from - to)));
  const int shift = 8 * (to - from);
  const uint64_t filled = rangeEnd ? (uint64_t{1} << shift) - 1 : 0;
  return static_cast<uint32_t>((value << shift) | filled);
}

TemplatePlan ImportMode(const ImportSource& source, const LibraryMode& mode,
                        const ResolvedMode& resolved) {
  return ModeImport(source, mode, resolved).Plan();
}

}  // namespace fxt
