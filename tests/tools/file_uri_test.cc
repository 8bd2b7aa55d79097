#include "tools/file_uri.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace fxt {
namespace {

TEST(FileUri, APathGoesThereAndBack) {
  for (const std::string path :
       {"/plain/lamp.fxt", "/with blank/and%percent.fxt", "/caf\xC3\xA9/\x01?#.fxt", "/"}) {
    EXPECT_EQ(PathOfFileUri(FileUri(path)), path) << path;
  }
  EXPECT_EQ(FileUri("/a b/c#d"), "file:///a%20b/c%23d");
}

TEST(FileUri, OnlyLocalFileUrisWithSoundEscapesHaveAPath) {
  const struct {
    const char* uri;
    std::optional<std::string> path;
  } cases[] = {
      {"file:///home/x.fxt", "/home/x.fxt"},
      {"file://localhost/home/x.fxt", "/home/x.fxt"},
      {"file:///a%2Fb%c3%A9", "/a/b\xC3\xA9"},
      {"file://elsewhere/x.fxt", std::nullopt},
      {"untitled:Untitled-1", std::nullopt},
      {"file:///a%2", std::nullopt},
      {"file:///a%zz", std::nullopt},
      {"file:///a%00b", std::nullopt},  // a NUL would cut the path short
  };
  for (const auto& c : cases) EXPECT_EQ(PathOfFileUri(c.uri), c.path) << c.uri;
}

}  // namespace
}  // namespace fxt
