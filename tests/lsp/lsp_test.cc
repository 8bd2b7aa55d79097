// The language server's layers that the protocol tests reach only through
// the whole server: positions in both encodings, and the framing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "grammar/letter_docs.h"
#include "lsp/analysis.h"
#include "lsp/features.h"
#include "lsp/framing.h"
#include "lsp/line_index.h"
#include "lsp/line_words.h"
#include "lsp/message_json.h"

namespace fxt::lsp {
namespace {

TEST(LineIndex, CountsCharactersAsTheClientDoes) {
  // "é" is 2 UTF-8 bytes and 1 UTF-16 unit; the emoji 4 bytes and 2 units.
  const std::string text = "ab\r\nxé\xF0\x9F\x8E\xADz\nlast";
  const LineIndex lines(text);
  ASSERT_EQ(lines.LineCount(), 3u);
  EXPECT_EQ(lines.Line(0), "ab");
  EXPECT_EQ(lines.LengthOf(1), 4);
  const size_t z = lines.OffsetOf(1, 3);
  EXPECT_EQ(z, 4u + 1 + 2 + 4);
  EXPECT_EQ(lines.ClientPositionOf(z, Encoding::kUtf16).character, 4u);
  EXPECT_EQ(lines.ClientPositionOf(z, Encoding::kUtf8).character, 7u);
  EXPECT_EQ(lines.OffsetOf(ClientPosition{1, 4}, Encoding::kUtf16), z);
  EXPECT_EQ(lines.OffsetOf(ClientPosition{1, 7}, Encoding::kUtf8), z);
  // Inside the emoji: its start.
  EXPECT_EQ(lines.TemplatePlaceOf(lines.OffsetOf(ClientPosition{1, 3}, Encoding::kUtf16)).index, 2);
  EXPECT_EQ(lines.TemplatePlaceOf(lines.OffsetOf(ClientPosition{1, 5}, Encoding::kUtf8)).index, 2);
  // Past a line's end, its end; past the last line, the text's end.
  EXPECT_EQ(lines.OffsetOf(ClientPosition{0, 99}, Encoding::kUtf16), 2u);
  EXPECT_EQ(lines.OffsetOf(ClientPosition{9, 0}, Encoding::kUtf16), text.size());
  EXPECT_EQ(lines.OffsetOf(ClientPosition{SIZE_MAX, SIZE_MAX}, Encoding::kUtf8), text.size());
  EXPECT_EQ(lines.OffsetOf(2, 99), text.size());
}

// The load's lines end at '\n'; the client's at a lone '\r' too.
TEST(LineIndex, LoneCarriageReturnsEndTheClientsLinesOnly) {
  const std::string text = "a\rb\r\nc\nd\re\r";
  const LineIndex lines(text);
  ASSERT_EQ(lines.LineCount(), 3u);
  EXPECT_EQ(lines.Line(0), "a\rb");
  EXPECT_EQ(lines.Line(2), "d\re");
  struct Case {
    int32_t line, index;  // the load's, from 0
    ClientPosition client;
  };
  for (const Case& c :
       {Case{0, 0, {0, 0}}, Case{0, 1, {0, 1}}, Case{0, 2, {1, 0}}, Case{0, 3, {1, 1}},
        Case{1, 0, {2, 0}}, Case{2, 2, {4, 0}}, Case{2, 3, {4, 1}}}) {
    const size_t offset = lines.OffsetOf(c.line, c.index);
    const ClientPosition client = lines.ClientPositionOf(offset, Encoding::kUtf16);
    EXPECT_EQ(client.line, c.client.line) << c.line << ":" << c.index;
    EXPECT_EQ(client.character, c.client.character) << c.line << ":" << c.index;
    EXPECT_EQ(lines.OffsetOf(c.client, Encoding::kUtf16), offset);
    const LineIndex::TemplatePlace place = lines.TemplatePlaceOf(offset);
    EXPECT_EQ(place.line, c.line);
    EXPECT_EQ(place.index, c.index);
  }
  // The client's line "b" ends before its "\r\n"; its last line is empty.
  EXPECT_EQ(lines.OffsetOf(ClientPosition{1, 9}, Encoding::kUtf16), 3u);
  EXPECT_EQ(lines.ClientPositionOf(text.size(), Encoding::kUtf16).line, 5u);
}

// The counts kept through the text make a place on a long line as quick to
// find as one at its start.
TEST(LineIndex, PlacesOnALongLineAreFoundWhereverTheyStand) {
  std::string text = "/";
  for (int i = 0; i < 3000; ++i) text += i % 7 == 0 ? "\xE2\x82\xAC" : "x";  // "€" and "x"
  const LineIndex lines(text);
  size_t units = 0;
  size_t offset = 0;
  for (int32_t index = 0; index <= 3001; ++index) {
    ASSERT_EQ(lines.OffsetOf(0, index), offset) << index;
    ASSERT_EQ(lines.ClientPositionOf(offset, Encoding::kUtf16).character, units) << index;
    ASSERT_EQ(lines.OffsetOf(ClientPosition{0, units}, Encoding::kUtf16), offset) << index;
    if (offset == text.size()) break;
    const size_t bytes = ReadCharacter(std::string_view(text).substr(offset)).bytes;
    offset += bytes;
    ++units;
  }
  EXPECT_EQ(lines.LengthOf(0), 3001);
}

TEST(LineWords, KeywordsAreFoundAsTheReaderFindsThem) {
  const WrittenKeyword channel = KeywordOf("  Chan nel = 5 / remark");
  ASSERT_NE(channel.keyword, nullptr);
  EXPECT_EQ(channel.keyword->id, TOKEN_CHANNEL);
  EXPECT_EQ(channel.span.begin, 2);
  EXPECT_EQ(channel.span.end, 12);
  EXPECT_EQ(KeywordOf("  bogus = 1").keyword, nullptr);
  const Span value = ValueOf("attriblist = 1, 22 / remark");
  const std::vector<Span> items = ItemsOf("attriblist = 1, 22 / remark", value);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].begin, 15);
  EXPECT_EQ(items[1].end, 18);
}

// The hover's text at a line and character index, both from 0.
std::string HoverOn(const std::string& text, int32_t line, size_t index) {
  const std::string uri = "file:///letters.fxt";
  const Analysis analysis = Analyse(text);
  const LineIndex lines(text);
  const Snapshot snapshot(uri, analysis, lines, Encoding::kUtf8);
  const json hover = Hover(snapshot, {line + 1, static_cast<int32_t>(index) + 1});
  return hover.is_null() ? "" : hover["contents"]["value"].get<std::string>();
}

// A template with the letter written, in upper case where it has one, as
// each role's letter; the marks stand in the values.
std::string WithLetter(char letter) {
  const char written =
      (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
  return std::string("fixture\nattribute\n  channel = 1\n  type = ") + written +
         "\nparameter\n  type = " + written + "\n  attriblist = 1\n  displayernum = 1\n" +
         "  stop = ( M10 R ) , " + written + " , \"Red\"\nend\n";
}

TEST(Hover, ALetterShowsWhatThePageSaysOfIt) {
  struct Place {
    LetterRole role;
    int32_t line;
    std::string_view before;  // the letter stands after the last of these
  };
  const Place places[] = {
      {LetterRole::kAttributeKind, 3, "= "},
      {LetterRole::kParameterKind, 5, "= "},
      {LetterRole::kStopMode, 8, ") , "},
  };
  for (const Place& place : places) {
    for (const LetterDoc& doc : LetterDocs(place.role)) {
      const char letter = doc.letter == ANY_OTHER_LETTER ? '?' : doc.letter;
      const std::string text = WithLetter(letter);
      const std::string line(LineIndex(text).Line(place.line));
      const std::string hover =
          HoverOn(text, place.line, line.rfind(place.before) + place.before.size());
      EXPECT_EQ(hover, LetterHoverText(place.role, letter)) << line;
      EXPECT_NE(hover.find(doc.text), std::string::npos) << line;
    }
  }
  const std::string text = WithLetter('w');
  const std::string stop(LineIndex(text).Line(8));
  for (const char mark : {'m', 'r'}) {
    const size_t index = stop.find(static_cast<char>(mark - 'a' + 'A'));
    EXPECT_EQ(HoverOn(text, 8, index), LetterHoverText(LetterRole::kValueMark, mark));
  }
  // Elsewhere on the line, the record that the load stored.
  const std::string record = HoverOn(text, 8, stop.find('1'));
  EXPECT_FALSE(record.empty());
  EXPECT_EQ(record.find("**value mark**"), std::string::npos) << record;
  EXPECT_EQ(LetterHoverText(LetterRole::kStopMode, 'w').substr(0, 30),
            "**stop mode** `` w `` (code 2)");
}

TEST(MessageJson, LoneSurrogatesReadAsReplacementCharacters) {
  struct Case {
    const char* json;
    const char* text;  // the string it holds, in UTF-8
  };
  constexpr Case kCases[] = {
      {R"("a\ud800b")", "a\uFFFDb"},
      {R"("\udc00\ud800")", "\uFFFD\uFFFD"},
      {R"("\uD83C\uDFAD")", "\U0001F3AD"},  // a pair stays one character
      {R"("\ud800\ud83c\udfad")", "\uFFFD\U0001F3AD"},
      {R"("\\ud800")", "\\ud800"},  // an escaped backslash, then text
      {R"("\"\ud800")", "\"\uFFFD"},
      {R"("\ud800)", nullptr},  // no JSON either way
  };
  for (const Case& c : kCases) {
    const json value = ParseMessage(c.json);
    if (c.text == nullptr) {
      EXPECT_TRUE(value.is_discarded()) << c.json;
    } else {
      EXPECT_EQ(value, c.text) << c.json;
    }
  }
  EXPECT_EQ(ParseMessage(R"({"\ud800": 1})"), json::parse(R"({"\uFFFD": 1})"));
}

TEST(MessageJson, NestingIsCountedWithoutRecursion) {
  const auto nested = [](size_t levels) {
    return json::parse(std::string(levels, '[') + std::string(levels, ']'));
  };
  EXPECT_FALSE(NestsDeeperThan(json(5), 0));
  EXPECT_TRUE(NestsDeeperThan(json::array(), 0));
  EXPECT_FALSE(NestsDeeperThan(nested(512), 512));
  EXPECT_TRUE(NestsDeeperThan(nested(513), 512));
  EXPECT_TRUE(NestsDeeperThan(nested(20000), 512));
  const json wide = json::parse(R"({"a": [1, {"b": []}], "c": {"d": {"e": 2}}})");
  EXPECT_FALSE(NestsDeeperThan(wide, 4));
  EXPECT_TRUE(NestsDeeperThan(wide, 3));
}

// After the first error the tester stores nothing more; the outline shows
// what the template declares all the same.
TEST(Analysis, TheOutlineKeepsWhatFollowsAnError) {
  const std::string text =
      "fixture\nname = \"Spot\"\nversion = \"1.2\"\nattribute\n  name = \"PAN\"\n  channel = 1\n"
      "  finechan = 2\nparameter\n  name = \"-PAN-\"\n  type = f\n  attriblist = 1\n"
      "  displayernum = 3\n  stop = (0),n,\"Left\"\nend\n";
  const Analysis analysis = Analyse(text);
  const LineIndex lines(text);
  const std::string uri = "file:///spot.fxt";
  const json outline = DocumentSymbols(Snapshot(uri, analysis, lines, Encoding::kUtf16));
  ASSERT_EQ(outline.size(), 1u);
  const json& children = outline[0]["children"];
  ASSERT_EQ(children.size(), 2u);
  EXPECT_EQ(children[0]["name"], "PAN  ch 1/2");
  EXPECT_EQ(children[1]["name"], "-PAN-  displayer 3");
  ASSERT_EQ(children[1]["children"].size(), 1u);
  EXPECT_EQ(children[1]["children"][0]["name"], "Left");
}

ReadResult ReadFrom(const std::string& input, std::string& body) {
  std::FILE* stream = fmemopen(const_cast<char*>(input.data()), input.size(), "r");
  MessageReader reader(stream);
  const ReadResult result = reader.Read(body);
  std::fclose(stream);
  return result;
}

TEST(Framing, ReadsAMessageAndRefusesWhatIsNone) {
  std::string body;
  EXPECT_EQ(ReadFrom("Content-Length: 2\r\nContent-Type: x\r\n\r\n{}", body).kind,
            ReadResult::Kind::kMessage);
  EXPECT_EQ(body, "{}");
  EXPECT_EQ(ReadFrom("content-length:2\n\n[]", body).kind, ReadResult::Kind::kMessage);
  EXPECT_EQ(ReadFrom("", body).kind, ReadResult::Kind::kEnd);
  for (const std::string bad : {"Content-Length: 5\r\n\r\n{}", "X: y\r\n\r\n{}",
                                "Content-Length: 2x\r\n\r\n{}", "Content-Length: 2"}) {
    EXPECT_EQ(ReadFrom(bad, body).kind, ReadResult::Kind::kError) << bad;
  }
  EXPECT_EQ(Framed("{}"), "Content-Length: 2\r\n\r\n{}");
}

}  // namespace
}  // namespace fxt::lsp
