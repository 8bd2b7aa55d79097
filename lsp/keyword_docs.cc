#include "lsp/keyword_docs.h"

namespace fxt::lsp {

std::string_view KeywordDoc(TokenId keyword, Block::Kind block) {
  switch (keyword) {
    case TOKEN_FIXTURE:
      return "Begins a template; its header (name=, version=, manufacturer=) follows.";
    case TOKEN_NAME:
      if (block == Block::Kind::kAttribute) {
        return "The attribute's name, in double quotes: \"INTENSITY\" declares the intensity "
               "attribute, \"PAN\" gives kind f.";
      }
      if (block == Block::Kind::kParameter) {
        return "The parameter's name, in double quotes, such as \"-PAN-\".";
      }
      return "The fixture's model name, in double quotes; its first 15 characters are kept.";
    case TOKEN_VERSION:
      return "The template's version: two numbers 0 to 99 with a point between them, as 1.0.";
    case TOKEN_MANUFACTURER:
      return "The manufacturer, in double quotes; known makers are matched in capitals.";
    case TOKEN_PRODUCT:
      return "The product; its value is not looked at.";
    case TOKEN_NUM_DMX:
      return "The number of DMX channels; its value is not looked at.";
    case TOKEN_ATTRIBUTE:
      return "Begins an attribute block: one controllable property and its DMX channel.";
    case TOKEN_CHANNEL:
      return "The attribute's DMX channel, 1 to 64; 0 only for the intensity attribute, "
             "declared above it.";
    case TOKEN_FINE_CHANNEL:
      return "The fine (low-byte) DMX channel: it makes the attribute a 16-bit one.";
    case TOKEN_HOME_VALUE:
      return "The home value: 0 to 255, or 0 to 65535 with a fine channel; 0x1f is hexadecimal.";
    case TOKEN_MIN_VALUE:
      return "The intensity attribute's lowest value, 0 to 255.";
    case TOKEN_MAX_VALUE:
      return "The intensity attribute's highest value, 0 to 256.";
    case TOKEN_DEFLECTION:
    case TOKEN_INVERT:
      return "Accepted; its value is not looked at.";
    case TOKEN_PARAMETER:
      return "Begins a parameter block: a control that the operator sees.";
    case TOKEN_TYPE:
      if (block == Block::Kind::kParameter) {
        return "The parameter's kind, from the value's first character: c, b, f or n.";
      }
      return "The attribute's kind, from the value's first character: i (the intensity "
             "attribute), f, b or c.";
    case TOKEN_ATTRIB_LIST:
      return "The DMX channels of the attributes that the parameter drives, comma-separated.";
    case TOKEN_DISPLAYER_NUM:
      return "The displayer that shows the parameter; each parameter needs one of its own.";
    case TOKEN_STOP:
      return "A displayer stop: (one value or low:high per listed attribute),mode,\"label\"; "
             "m marks the mouse's attribute, r a value.";
    case TOKEN_END:
      return "Ends the template and runs its final checks; nothing after it is read.";
    default:
      return "";
  }
}

}  // namespace fxt::lsp
