#include "lsp/record_words.h"

#include "grammar/letter_docs.h"

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
  if (kind == KIND_INTENSITY_LISTED) return "the intensity attribute, which a parameter lists";
  const LetterDoc* doc = LetterDocWithCode(LetterRole::kAttributeKind, kind);
  return doc != nullptr ? std::string(doc->summary) : "kind " + std::to_string(kind);
}

std::string ParameterKindWords(int kind) {
  const LetterDoc* doc = LetterDocWithCode(LetterRole::kParameterKind, kind);
  return doc != nullptr ? std::string(doc->summary) : "type " + std::to_string(kind);
}

std::string ModeWords(int mode) {
  const LetterDoc* doc = LetterDocWithCode(LetterRole::kStopMode, mode);
  if (doc == nullptr) return std::to_string(mode);
  return std::string(1, doc->letter) + ": " + std::string(doc->summary);
}

}  // namespace fxt::lsp
