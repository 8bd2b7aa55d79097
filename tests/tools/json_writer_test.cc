#include "tools/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace fxt {
namespace {

TEST(JsonQuoted, EscapesWhatJsonRequires) {
  struct Case {
    std::string bytes;
    std::string quoted;
  } cases[] = {
      {"plain", "\"plain\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"back\\slash", "\"back\\\\slash\""},
      {"\b\f\n\r\t", "\"\\b\\f\\n\\r\\t\""},
      {std::string("\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
      {"\x7f", "\"\x7f\""},
      {"caf\xe9", "\"caf\xc3\xa9\""},
      {"\x80\xff", "\"\xc2\x80\xc3\xbf\""},
      {"", "\"\""},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonQuoted(c.bytes), c.quoted);
}

TEST(JsonWriter, BlocksPutEachMemberOnALineAndInlineScopesDoNot) {
  JsonWriter json;
  json.BeginObject();
  json.Key("n");
  json.Int(-3);
  json.Key("list");
  json.BeginArray(JsonWriter::Layout::kInline);
  json.Int(1);
  json.Int(2);
  json.EndArray();
  json.Key("none");
  json.Null();
  json.Key("items");
  json.BeginArray();
  json.BeginObject(JsonWriter::Layout::kInline);
  json.Key("s");
  json.StringOrNull("x");
  json.Key("t");
  json.StringOrNull(nullptr);
  json.EndObject();
  json.EndArray();
  json.Key("empty");
  json.BeginArray();
  json.EndArray();
  json.EndObject();
  EXPECT_EQ(json.text(),
            "{\n"
            "  \"n\": -3,\n"
            "  \"list\": [1, 2],\n"
            "  \"none\": null,\n"
            "  \"items\": [\n"
            "    {\"s\": \"x\", \"t\": null}\n"
            "  ],\n"
            "  \"empty\": []\n"
            "}");
}

}  // namespace
}  // namespace fxt
