// The language server's layers that the protocol tests reach only through
// the whole server: positions in both encodings, and the framing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "grammar/letter_docs.h"
#include "lsp/features.h"
#include "lsp/framing.h"
#include "lsp/line_index.h"
#include "lsp/line_words.h"

namespace fxt::lsp {
namespace {

TEST(LineIndex, CountsCharactersAsTheClientDoes) {
  // "é" is 2 UTF-8 bytes and 1 UTF-16 unit; the emoji 4 bytes and 2 units.
  const std::string text = "ab\r\nxé\xF0\x9F\x8E\xADz\nlast";
  const LineIndex lines(text);
  ASSERT_EQ(lines.LineCount(), 3u);
  EXPECT_EQ(lines.Line(0), "ab");
  EXPECT_EQ(lines.LengthOf(1), 4);
  EXPECT_EQ(lines.CharacterOf(1, 3, Encoding::kUtf16), 4);
  EXPECT_EQ(lines.CharacterOf(1, 3, Encoding::kUtf8), 7);
  EXPECT_EQ(lines.IndexOf(1, 4, Encoding::kUtf16), 3);
  EXPECT_EQ(lines.IndexOf(1, 3, Encoding::kUtf16), 2);  // inside the emoji: its start
  EXPECT_EQ(lines.IndexOf(1, 7, Encoding::kUtf8), 3);
  EXPECT_EQ(lines.OffsetOf(1, 2, Encoding::kUtf16), 4u + 1 + 2);
  EXPECT_EQ(lines.OffsetOf(9, 0, Encoding::kUtf16), text.size());
  EXPECT_EQ(lines.CharacterOf(2, 99, Encoding::kUtf16), 4);  // stops at the line's end
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
