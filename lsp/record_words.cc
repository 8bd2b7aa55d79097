#include "lsp/record_words.h"

namespace fxt::lsp {

std::string NameOf(const Attribute& attribute) {
  return attribute.typeName.IsSet() ? attribute.typeName.get() : "(no name)";
}

std::string NameOf(const Parameter& parameter) {
  return parameter.typeName.IsSet() ? parameter.typeName.get() : "(no name)";
}

std::string NameOf(const Stop& stop) {
  return stop.label.IsSet() ? stop.label.get() : "(no label)";
}

// The record keeps the channel minus one: channel 1 is 0, and the intensity
// attribute's channel 0 is -1.
int DmxChannelOf(const Attribute& attribute) { return attribute.channel + 1; }

std::string ChannelsOf(const Attribute& attribute) {
  std::string channels = std::to_string(DmxChannelOf(attribute));
  if (!attribute.HasNoFineChannel()) channels += "/" + std::to_string(attribute.fineChannel + 1);
  return channels;
}

std::string AttributeKindWords(int kind) {
  switch (kind) {
    case KIND_NONE:
      return "no kind";
    case KIND_INTENSITY:
      return "the intensity attribute";
    case KIND_F:
      return "kind f (type f, or named PAN)";
    case KIND_B:
      return "kind b";
    case KIND_C:
      return "kind c";
    case KIND_INTENSITY_LISTED:
      return "the intensity attribute, which a parameter lists";
    default:
      return "kind " + std::to_string(kind);
  }
}

std::string ParameterKindWords(int kind) {
  switch (kind) {
    case KIND_F:
      return "type f";
    case KIND_B:
      return "type b";
    case KIND_C:
      return "type c";
    case KIND_N:
      return "type n";
    default:
      return "no type";
  }
}

std::string ModeWords(int mode) {
  switch (mode) {
    case STOP_MODE_NONE:
      return "n: no attribute under the mouse";
    case STOP_MODE_B:
      return "b: mouse mode b";
    case STOP_MODE_W:
      return "w: mouse mode w";
    case STOP_MODE_1:
      return "1: mouse mode 1";
    case STOP_MODE_2:
      return "2: mouse mode 2";
    case STOP_MODE_3:
      return "3: mouse mode 3";
    case STOP_MODE_DISPLAY:
      return "d: mouse mode with display values";
    default:
      return std::to_string(mode);
  }
}

}  // namespace fxt::lsp
