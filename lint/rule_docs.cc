#include "lint/rule_docs.h"

#include <array>

namespace fxt {
namespace {

using enum DiagnosticId;

// clang-format off
constexpr RuleDoc kRuleDocs[] = {
    {kUnusedSuppression,
     "A suppression comment that suppresses nothing, or names no code.",
     "A stale suppression hides nothing today and may hide a real problem tomorrow.",
     "Remove it, or correct its code.",
     "the comment", ""},
    {kTemplateWithoutEnd,
     "A template without an `end` line.",
     "The desk reads it to the end of the file but never runs the checks that the `end` line "
     "starts, so a template without a name, manufacturer, version or intensity attribute loads "
     "without a word.",
     "End every template with `end`.",
     "its `fixture` line",
     "adds an `end` line at the end of the file, when the template ends in an attribute or "
     "parameter block."},
    {kNoFixtureLine,
     "A file with no `fixture` line at all, an empty file included.",
     "The desk loads nothing from it, and no error says so: any text file passes the tester.",
     "Begin the template with `fixture`, or leave the file out of the library.",
     "line 1", ""},
    {kUnknownKeyword,
     "A line that begins with no keyword but is within two edits of one (`unknown keyword "
     "'chanel'; did you mean 'channel'?`), or a keyword written without its `=` (`channel 8`).",
     "The tester only says \"illegal token\" and skips the line, so the value it meant to set "
     "keeps its default (an attribute stays on DMX channel 1).",
     "Spell the keyword as the message suggests, with its `=`.",
     "that line",
     "spells the keyword so, when one keyword is closer than every other, and inserts a "
     "missing `=`."},
    {kAttributeWithoutChannel,
     "An attribute block without a `channel=` line.",
     "The attribute silently takes DMX channel 1, usually the intensity's.",
     "Give every attribute its `channel=` line.",
     "its `attribute` line", ""},
    {kFineChannelTaken,
     "A fine channel that is the attribute's own channel, or a channel or fine channel of "
     "another attribute of the template.",
     "The tester does not check fine channels: two attributes then drive one DMX channel and "
     "the fixture jumps.",
     "Give the fine channel a DMX channel that no other attribute uses, usually the one after "
     "the coarse channel.",
     "the later of the two lines", ""},
    {kChannelSharedUnseen,
     "Two attributes on one DMX channel where the tester cannot see it: an attribute without "
     "`channel=` takes channel 1, which another may take too.",
     "Both attributes drive the same DMX channel.",
     "Give each attribute a channel of its own.",
     "the later attribute's `channel=` line, or its `attribute` line", ""},
    {kNameCaseDiffers,
     "A name that matches an entry of a fixed table only when letter case is ignored: an "
     "attribute name (`\"Intensity\"`) or a stop label (`\"pan=\"`).",
     "Names are compared exactly: `\"Intensity\"` is no intensity attribute, and the label is "
     "not the table's.",
     "Write the name as the table does; the message says which entry.",
     "that line",
     "writes the name as the table does."},
    {kValueNotQuoted,
     "A value that must be in double quotes and is not: `name=`, `manufacturer=`, or a stop's "
     "label. Quotes of another kind (`'TILT'`, typographic quotes) are no quotes.",
     "Without quotes the tester sees no name at all (\"invalid model name.\" or nothing, for an "
     "attribute), and never says why.",
     "Put the value in double quotes, as the message shows.",
     "that line",
     "puts the value in double quotes, or turns the quotes of another kind around it into "
     "double quotes."},
    {kLineTooLong,
     "A line longer than 99 characters.",
     "The desk reads the characters from 100 on as a new line of their own, so the tester's "
     "line numbers drift and the rest of a long remark may be read as a keyword.",
     "Break the line, or shorten the remark.",
     "that line, column 100", ""},
    {kListNamesNoAttribute,
     "A parameter whose `attriblist=` names no attribute at all.",
     "The parameter controls nothing.",
     "List the DMX channels of attributes declared above the parameter.",
     "its `attriblist=` line", ""},
    {kInputEndByte,
     "A byte 0xFF before the end of the file; the message says how many bytes after it are "
     "never read.",
     "The desk stops reading at that byte. A UTF-16 file begins with one.",
     "Remove the byte, or save the file as single-byte text.",
     "the byte", ""},
    {kByteOrderMark,
     "A byte-order mark at the start of the file (UTF-8 or UTF-16).",
     "Templates are single-byte text: a UTF-8 mark hides the first keyword, and a UTF-16 file "
     "is read as nothing.",
     "Save the file as Latin-1 or ASCII text without a mark.",
     "line 1", ""},
    {kWideCharacter,
     "A character above U+00FF: in a file that is valid UTF-8, or in the document that an "
     "editor sends the language server.",
     "Templates are single-byte text: the desk reads each byte of the character's UTF-8 form "
     "as a character of its own, so a typographic quote is no quote, and the language server "
     "reads it as `?`.",
     "Write the character as Latin-1 or ASCII text (a straight double quote, not a "
     "typographic one), and save the file as single-byte text.",
     "the character", ""},
    {kStrayBlank,
     "A name that would be an entry of a fixed table but for a blank before, after or doubled "
     "inside it: an attribute name (`\"PAN \"`), a parameter name, a manufacturer or a stop "
     "label.",
     "Names are compared blank for blank (the tester only skips the blanks before a "
     "manufacturer or a parameter name): `\"PAN \"` is no pan attribute.",
     "Remove the stray blank.",
     "that line",
     "removes the stray blanks between the quotes."},
    {kStopOutOfOrder,
     "A fixed stop of a parameter (mode `n`, no `m`) whose values are below those of the fixed "
     "stop before it (with several attributes: lower in one and higher in none); the stops "
     "that follow the mouse may go back to any value.",
     "The tester stores the stops in the order they are written and never sorts them: a stop "
     "out of order is most often a value typed wrong.",
     "Put the fixed stops in the order of their values, or correct the value.",
     "the later stop's line", ""},
    {kStopRepeated,
     "Two stops of one parameter with the same values, the same mode and the same attribute "
     "under the mouse. Copies of one stop in a row are one report, with the line of the last.",
     "Nothing but their labels tells the two apart: one of them is most often a copied line "
     "whose values were not changed.",
     "Give the stop its own values, or remove the copy.",
     "the later stop's line, the first of copies in a row", ""},
    {kRangeReversed,
     "A stop range whose low value is above its high one, such as `(m255:128)`.",
     "The tester stores the range as it is written, low above high, without a word.",
     "Write the range low:high, as in `(m128:255)`.",
     "that line", ""},
    {kNameTooLong,
     "A name longer than the desk stores: a model name of more than 15 characters, a "
     "manufacturer or a parameter name of more than 49.",
     "The tester keeps the first 15 (or 49) characters and drops the rest without a word; the "
     "message shows what is kept.",
     "Shorten the name, so that what the desk keeps is what you mean.",
     "that line", ""},
    {kVersionThirdNumber,
     "A version with a third number, such as `version = 1.2.3`.",
     "The tester reads two numbers with a point between them and ignores the rest: 1.2.3 is "
     "stored as 1.2, and two releases look alike.",
     "Write the version as two numbers, each 0 to 99.",
     "that line", ""},
    {kTextAfterNumber,
     "Text after a number that the tester does not read: `numDMX = 12 # twelve`, "
     "`homeval = 128 (half)`, `version = 1.0 beta`, and the same after `deflection=` and "
     "`invert=`.",
     "The tester reads the number and ignores what follows it, so a remark begun with another "
     "sign than `/` passes without a word, and so does a value that meant something else.",
     "Begin a remark with `/`, or remove the text.",
     "that line", ""},
};
// clang-format on

#ifndef FXT_DOCUMENTATION_URI
#define FXT_DOCUMENTATION_URI "man:fxtlint(1)"
#endif

}  // namespace

const RuleDoc* RuleDocOf(DiagnosticId id) {
  for (const RuleDoc& doc : kRuleDocs) {
    if (doc.id == id) return &doc;
  }
  return nullptr;
}

std::string_view SeverityWord(Severity severity) {
  switch (severity) {
    case Severity::kNote:
      return "note";
    case Severity::kWarning:
      return "warning";
    case Severity::kError:
      return "error";
    case Severity::kFatal:
      return "fatal";
  }
  return "error";
}

std::string Explanation(const CatalogueEntry& entry) {
  std::string text = std::string(entry.code) + " (" + std::string(SeverityWord(entry.severity)) +
                     "): " + std::string(entry.summary) + "\n";
  const RuleDoc* doc = RuleDocOf(entry.id);
  if (doc == nullptr) return text + "The tester's text: " + entry.format + "\n";
  text += "Catches: " + std::string(doc->catches) + "\n";
  text += "Why: " + std::string(doc->why) + "\n";
  text += "Mend: " + std::string(doc->mend) + "\n";
  text += "Placed on: " + std::string(doc->placedOn) + "\n";
  text += "Fix: " + std::string(doc->fix.empty() ? "none" : doc->fix) + "\n";
  return text;
}

std::string WithoutMarks(std::string_view text) {
  std::string plain;
  for (const char c : text) {
    if (c != '`') plain += c;
  }
  return plain;
}

std::string FullDescription(const CatalogueEntry& entry) {
  const RuleDoc* doc = RuleDocOf(entry.id);
  if (doc == nullptr) return std::string("The tester's text: ") + entry.format;
  return WithoutMarks(doc->catches);
}

std::string_view DocumentationUri() { return FXT_DOCUMENTATION_URI; }

std::string CodeUri(std::string_view code) {
  return std::string(DocumentationUri()) + "#" + std::string(code);
}

}  // namespace fxt
