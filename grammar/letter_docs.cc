#include "grammar/letter_docs.h"

#include <array>

#include "model/attribute.h"
#include "model/stop.h"

namespace fxt {
namespace {

// The texts quote the tester's messages exactly, odd spellings included.
// Each letter's code is shown beside its text, so the mouse modes that
// differ in their codes alone share one text.
constexpr std::array<LetterDoc, 5> kAttributeKinds = {{
    {'i', KIND_INTENSITY, "the intensity attribute",
     "The attribute becomes the template's intensity attribute: from the next line on, it alone "
     "may take channel 0 and have minval= and maxval= lines, so type = i comes before them. "
     "If another attribute was the intensity attribute, \"dupicate Intensity channel found.\" is "
     "reported and this one takes its place; the same line twice in one block reports nothing. "
     "A name= line of \"INTENSITY\" does the same as type = i, but without that check. "
     "With an intensity attribute, the end of the template does not warn "
     "\"Intensity Attribute missing.\". "
     "fxtdump shows kind 2, or 8 once a parameter's attriblist= names the attribute's channel "
     "while no error has been reported. "
     "A later type= line with another letter changes the code, not which attribute is the "
     "intensity attribute."},
    {'f', KIND_F, "kind f (type f, or named PAN)",
     "An attribute named \"PAN\" gets the same code, and a parameter of type f has it too. "
     "fxtdump shows kind 3. "
     "The tester checks nothing else by it; what the desk makes of kind f, it does not say."},
    {'b', KIND_B, "kind b",
     "A parameter of type b has the same code. "
     "fxtdump shows kind 4. "
     "The tester checks nothing else by it; what the desk makes of kind b, it does not say."},
    {'c', KIND_C, "kind c",
     "A parameter of type c has the same code. "
     "fxtdump shows kind 5. "
     "The tester checks nothing else by it; what the desk makes of kind c, it does not say."},
    {ANY_OTHER_LETTER, KIND_NONE, "no kind",
     "Any other first character, n included, draws \"invalid Type\" and stores code 0, the code "
     "of an attribute without a type= line that is not named \"INTENSITY\" or \"PAN\"; fxtdump "
     "shows kind 0."},
}};

constexpr std::array<LetterDoc, 5> kParameterKinds = {{
    {'c', KIND_C, "type c",
     "An attribute of kind c has the same code. "
     "fxtdump shows kind 5. "
     "The tester checks nothing else by it; what the desk makes of type c, it does not say."},
    {'b', KIND_B, "type b",
     "An attribute of kind b has the same code. "
     "fxtdump shows kind 4. "
     "The tester checks nothing else by it; what the desk makes of type b, it does not say."},
    {'f', KIND_F, "type f",
     "An attribute of kind f, or named \"PAN\", has the same code. "
     "fxtdump shows kind 3. "
     "The tester checks nothing else by it; what the desk makes of type f, it does not say."},
    {'n', KIND_N, "type n",
     "No attribute has this code; n here is not the stop mode n. "
     "fxtdump shows kind 7. "
     "The tester checks nothing else by it; what the desk makes of type n, it does not say."},
    {ANY_OTHER_LETTER, KIND_NONE, "no type",
     "Any other first character, i included, draws \"invalid Type\" and stores code 0; fxtdump "
     "shows kind 0. "
     "Unless a later type= line gives one of the letters, the line that ends the block draws "
     "\"no type defined for this parameter\" too, as it does for a block without type=."},
}};

constexpr std::string_view kMouseMode =
    "A mouse mode. "
    "One value must carry an m (\"invalid mode for non-mouseable attribute\" otherwise); the stop "
    "selects that value's entry, and fxtdump shows the code as mode, with selectedEntry and "
    "midValue. "
    "One character, written as a comma, stands between the letter and the label's opening quote "
    "(\"syntax error.\" otherwise). "
    "The tester makes nothing else of the letter: how the desk shows a stop in this mode, it does "
    "not say.";

constexpr std::array<LetterDoc, 8> kStopModes = {{
    {'n', STOP_MODE_NONE, "no attribute under the mouse",
     "No attribute under the mouse. "
     "No value may carry an m (\"invalid mode for mouseable attribute\" otherwise), and no entry "
     "is selected: fxtdump shows mode 0, selectedEntry 255 and midValue 0. "
     "One character, written as a comma, stands between the letter and the label's opening "
     "quote (\"syntax error.\" otherwise)."},
    {'b', STOP_MODE_B, "mouse mode b", kMouseMode},
    {'w', STOP_MODE_W, "mouse mode w", kMouseMode},
    {'1', STOP_MODE_1, "mouse mode 1", kMouseMode},
    {'2', STOP_MODE_2, "mouse mode 2", kMouseMode},
    {'3', STOP_MODE_3, "mouse mode 3", kMouseMode},
    {'d', STOP_MODE_DISPLAY, "mouse mode with a display range",
     "A mouse mode with a display range: two decimal numbers, each after a comma, stand between "
     "the letter and the label, as in (m0:255),d,-270,270,\"Pan=\". "
     "Each is -999 to 999 (\"display value out of range.\" otherwise), and \"syntax error.\" is "
     "reported when they and the label's quote are not where they must be. "
     "fxtdump shows mode 6, and the numbers as displayFrom and displayTo, which every other mode "
     "leaves at 0 and 360. "
     "One value must carry an m (\"invalid mode for non-mouseable attribute\" otherwise); the "
     "stop selects that value's entry (selectedEntry and midValue). "
     "After an earlier error in the file, the numbers and the label are not read, so they draw "
     "no message. "
     "How the desk shows the range, the tester does not say."},
    {ANY_OTHER_LETTER, STOP_MODE_NONE, "invalid mode",
     "Any other character after the comma, or none, draws \"invalid mode\" and ends the line: "
     "the stop that the line makes keeps its values, with mode 0 and no label. "
     "Without the comma after the ')', the line draws \"syntax error (mode)\" instead."},
}};

constexpr std::array<LetterDoc, 3> kValueMarks = {{
    {'m', NO_CODE, "the attribute under the mouse",
     "Marks the value whose attribute the mouse moves; it may stand anywhere in the value, as in "
     "m0:255 or 0:255m. "
     "At most one value carries an m (\"too many mousable attributes\" otherwise); every mode but "
     "n needs one, and n forbids it. "
     "The stop selects the entry of the marked slot, counting every slot, empty ones included: "
     "after an empty slot it selects a later value's entry, or none. "
     "fxtdump shows that entry's index as selectedEntry (255 for none) and the middle of its "
     "range, on the 16-bit scale, as midValue. "
     "The m reads as a blank: a value that is only m draws \"syntax error (NUM).\", and m0x10 "
     "reads 0, since the x is no longer the number's second character (write 0x10m)."},
    {'r', NO_CODE, "a marked value",
     "Sets the value's flagR: fxtdump shows flagR 1 on its entry, 0 on the others. "
     "It may stand anywhere in the value, and any number of values may carry one. "
     "The tester reads flagR nowhere else: what the desk does with a marked value, it does not "
     "say. "
     "The r reads as a blank, like m: a value that is only r draws \"syntax error (NUM).\", and "
     "r0x10 reads 0 (write 0x10r)."},
    {ANY_OTHER_LETTER, NO_CODE, "illegal character",
     "Between the parentheses, besides m and r, only digits, the letters a to f, x, ':' and ',' "
     "may stand; any other character draws \"illegal character\" and ends the line."},
}};

}  // namespace

std::span<const LetterDoc> LetterDocs(LetterRole role) {
  switch (role) {
    case LetterRole::kAttributeKind:
      return kAttributeKinds;
    case LetterRole::kParameterKind:
      return kParameterKinds;
    case LetterRole::kStopMode:
      return kStopModes;
    case LetterRole::kValueMark:
      return kValueMarks;
  }
  return {};
}

const LetterDoc& LetterDocOf(LetterRole role, char letter) {
  const std::span<const LetterDoc> docs = LetterDocs(role);
  for (const LetterDoc& doc : docs) {
    if (doc.letter == letter) return doc;
  }
  return docs.back();
}

const LetterDoc* LetterDocWithCode(LetterRole role, int32_t code) {
  for (const LetterDoc& doc : LetterDocs(role)) {
    if (doc.code == code) return &doc;
  }
  return nullptr;
}

std::string_view LetterRoleName(LetterRole role) {
  switch (role) {
    case LetterRole::kAttributeKind:
      return "attribute kind";
    case LetterRole::kParameterKind:
      return "parameter kind";
    case LetterRole::kStopMode:
      return "stop mode";
    case LetterRole::kValueMark:
      return "value mark";
  }
  return "";
}

}  // namespace fxt
