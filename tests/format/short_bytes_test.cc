#include "format/short_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace fxt {
namespace {

// Every length that takes a way of its own, and those at its edges.
TEST(ShortBytes, CopiesEveryLengthWholeAndNothingPast) {
  const std::string from = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ";
  for (size_t length = 0; length <= 40; ++length) {
    std::string to(48, '.');
    CopyBytes(to.data(), from.data(), length);
    EXPECT_EQ(to, from.substr(0, length) + std::string(48 - length, '.')) << length;
  }
}

TEST(ShortBytes, FindsADifferenceAtEveryPlace) {
  const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ";
  for (size_t length = 0; length <= 40; ++length) {
    const std::string same = text.substr(0, length);
    EXPECT_TRUE(SameBytes(same, text.substr(0, length))) << length;
    EXPECT_FALSE(SameBytes(same, text.substr(0, length + 1))) << length;
    for (size_t at = 0; at < length; ++at) {
      std::string other = same;
      other[at] ^= 0x20;
      EXPECT_FALSE(SameBytes(same, other)) << length << " at " << at;
    }
  }
}

}  // namespace
}  // namespace fxt
