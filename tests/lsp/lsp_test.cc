// The language server's layers that the protocol tests reach only through
// the whole server: positions in both encodings, and the framing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

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
