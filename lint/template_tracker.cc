#include "lint/template_tracker.h"

#include <string>

#include "grammar/attribute.h"
#include "grammar/header.h"
#include "grammar/parameter.h"
#include "reader/number_scan.h"

namespace fxt {
namespace {

Block BlockOf(StateFn state) {
  if (state == StateFixtureBody) return Block::kHeader;
  if (state == StateAttributeBody) return Block::kAttribute;
  if (state == StateParameterBody) return Block::kParameter;
  return Block::kNone;
}

}  // namespace

// The value text ends in its counted NUL, or is empty and a NUL follows it.
int32_t ValueOf(const LineEvent& line) {
  return line.valueText.data() == nullptr ? 0 : DecimalValue(line.valueText.data());
}

const std::optional<SourcePosition>& TemplateTracker::ChannelClaim(int32_t channel) const {
  static const std::optional<SourcePosition> kNoClaim;
  return channel >= 0 && channel < static_cast<int32_t>(channelClaims_.size())
             ? channelClaims_[static_cast<size_t>(channel)]
             : kNoClaim;
}

const TrackedAttribute* TemplateTracker::OwnerOf(int32_t channel) const {
  const std::optional<SourcePosition>& claim = ChannelClaim(channel);
  if (!claim) return nullptr;
  for (const TrackedAttribute& attribute : attributes_) {
    if (attribute.channel && attribute.channel->position == *claim) return &attribute;
  }
  return nullptr;
}

void TemplateTracker::BeforeLine(const LineEvent& /*line*/, StateFn state) { stateBefore_ = state; }

void TemplateTracker::AfterLine(const LineEvent& line, StateFn state) {
  const Block before = BlockOf(stateBefore_);
  const Block after = BlockOf(state);
  const TokenId token = line.Token();
  const bool opensTemplate =
      token == TOKEN_FIXTURE && after == Block::kHeader && before != Block::kHeader;
  const bool opensBlock = (token == TOKEN_ATTRIBUTE && after == Block::kAttribute) ||
                          (token == TOKEN_PARAMETER && after == Block::kParameter);
  if (!opensTemplate && !opensBlock && before == after) {
    if (before == Block::kAttribute) AttributeLine(line);
    if (before == Block::kParameter) ParameterLine(line);
    return;
  }
  // A block keyword, the end of the template, or a load that stops.
  if (before == Block::kAttribute || before == Block::kParameter) CloseBlock();
  if (after == Block::kNone) {
    block_ = Block::kNone;
    if (token == TOKEN_END && listener_ != nullptr) listener_->TemplateClosed(true);
    return;
  }
  if (opensTemplate) OpenTemplate(line.position);
  if (after == Block::kAttribute) attributes_.push_back({line.position, {}, {}, {}});
  if (after == Block::kParameter) {
    parameterLine_ = line.position;
    listedChannels_.clear();
    if (listener_ != nullptr) listener_->ParameterOpened();
  }
  block_ = after;
}

void TemplateTracker::End() {
  if (block_ == Block::kAttribute || block_ == Block::kParameter) CloseBlock();
  if (block_ != Block::kNone && listener_ != nullptr) listener_->TemplateClosed(false);
  block_ = Block::kNone;
}

void TemplateTracker::CloseBlock() {
  if (block_ == Block::kAttribute && listener_ != nullptr) {
    listener_->AttributeClosed(attributes_.back());
  }
}

void TemplateTracker::OpenTemplate(SourcePosition position) {
  sawTemplate_ = true;
  fixtureLine_ = position;
  attributes_.clear();
  channelClaims_.fill(std::nullopt);
  displayerLines_.fill(std::nullopt);
  if (listener_ != nullptr) listener_->TemplateOpened();
}

void TemplateTracker::AttributeLine(const LineEvent& line) {
  TrackedAttribute& attribute = attributes_.back();
  switch (line.Token()) {
    case TOKEN_CHANNEL: {
      const int32_t channel = ValueOf(line);
      if (channel >= 0 && channel <= 64 && !channelClaims_[static_cast<size_t>(channel)]) {
        channelClaims_[static_cast<size_t>(channel)] = line.position;
      }
      if (!attribute.channel) attribute.channel = ValueLine{channel, line.position};
      break;
    }
    case TOKEN_FINE_CHANNEL:
      attribute.fineChannel = ValueLine{ValueOf(line), line.position};
      break;
    case TOKEN_HOME_VALUE: {
      const std::string value(line.valueText);
      const bool hex = value.size() >= 2 && value[1] == 'x';
      const ScannedNumber scanned = hex ? ScanHex(value.c_str()) : ScanDecimal(value.c_str());
      if (scanned.status == ScanStatus::kConverted) {
        attribute.homeValue = ValueLine{scanned.value, line.position};
      }
      break;
    }
    case TOKEN_NAME:
      if (line.quotedText == "INTENSITY") intensityLine_ = line.position;
      break;
    case TOKEN_TYPE:
      if (line.valueText.starts_with('i')) intensityLine_ = line.position;
      break;
    default:
      break;
  }
}

// The list's numbers end at a ',' or at the value's NUL, as the tester
// reads them.
void TemplateTracker::ListLine(const LineEvent& line) {
  listedChannels_.clear();
  const std::string_view value = line.valueText;
  size_t begin = 0;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] != ',' && value[i] != '\0') continue;
    const std::string number(value.substr(begin, i - begin));
    listedChannels_.push_back(static_cast<uint8_t>(DecimalValue(number.c_str())));
    begin = i + 1;
  }
}

void TemplateTracker::ParameterLine(const LineEvent& line) {
  if (line.Token() == TOKEN_ATTRIB_LIST) ListLine(line);
  if (line.Token() != TOKEN_DISPLAYER_NUM) return;
  const auto displayer = static_cast<uint8_t>(ValueOf(line));
  if (!displayerLines_[displayer]) displayerLines_[displayer] = parameterLine_;
}

}  // namespace fxt
