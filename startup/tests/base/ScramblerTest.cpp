#include "startup/util/config/Scrambler.h"

#include <gtest/gtest.h>

namespace {

using util::config::Scrambler;

TEST(Scrambler, XorsEachByteWithTheKeyByteOfItsPosition) {
  Scrambler scrambler;
  // 'a' ^ 't', 'a' ^ 'a', ...: the first byte uses key byte 0, the 18th byte key byte 0 again.
  const std::string text(18, 'a');
  const std::string scrambled = scrambler.scramble(text);
  ASSERT_EQ(18u, scrambled.size());
  EXPECT_EQ('a' ^ 't', scrambled[0]);
  EXPECT_EQ('\0', scrambled[1]);  // 'a' ^ 'a'
  EXPECT_EQ('a' ^ '4', scrambled[16]);
  EXPECT_EQ('a' ^ 't', scrambled[17]);
  EXPECT_EQ(std::string("talvorimesquen294"), Scrambler::KEY);
}

TEST(Scrambler, NBytesStayNBytesAndScramblingTwiceGivesTheTextBack) {
  std::string bytes;
  for (int i = 0; i < 600; ++i) bytes += static_cast<char>(i * 7);
  for (std::size_t length : {0u, 1u, 16u, 17u, 18u, 600u}) {
    Scrambler scrambler;
    const std::string text = bytes.substr(0, length);
    const std::string scrambled = scrambler.scramble(text);
    EXPECT_EQ(length, scrambled.size());
    scrambler.reset();
    EXPECT_EQ(text, scrambler.scramble(scrambled)) << length;
    scrambler.reset();
    EXPECT_EQ(text, scrambler.unscramble(scrambled)) << length;
  }
}

TEST(Scrambler, ReadAndWritePositionsAreKeptApart) {
  Scrambler scrambler;
  const std::string scrambled = scrambler.scramble("abcdef");
  // Reading starts at key byte 0 although three bytes were written meanwhile.
  scrambler.scramble("xyz");
  EXPECT_EQ("abc", scrambler.unscramble(scrambled.substr(0, 3)));
  EXPECT_EQ("def", scrambler.unscramble(scrambled.substr(3)));
  // Without a reset the write position goes on where it stopped.
  Scrambler fresh;
  EXPECT_NE(fresh.scramble("abc"), scrambler.scramble("abc"));
}

}  // namespace
