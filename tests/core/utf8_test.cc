#include "core/text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Encoded(uint32_t value) {
  std::string text = "<";
  core::AppendUtf8(value, &text);
  return text;
}

TEST(Utf8, AppendsOneToFourBytesAtEachBoundary) {
  EXPECT_EQ(Encoded(0x00), std::string("<\0", 2));
  EXPECT_EQ(Encoded(0x7F), "<\x7F");
  EXPECT_EQ(Encoded(0x80), "<\xC2\x80");
  EXPECT_EQ(Encoded(0x7FF), "<\xDF\xBF");
  EXPECT_EQ(Encoded(0x800), "<\xE0\xA0\x80");
  EXPECT_EQ(Encoded(0x3042), "<\xE3\x81\x82");
  EXPECT_EQ(Encoded(0xFFFD), "<\xEF\xBF\xBD");
  EXPECT_EQ(Encoded(0x10000), "<\xF0\x90\x80\x80");
  EXPECT_EQ(Encoded(0x10FFFF), "<\xF4\x8F\xBF\xBF");
}

TEST(Utf8, SequenceLengthOfWellFormedText) {
  const std::string text = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF";
  EXPECT_EQ(core::Utf8SequenceLength(text, 0), 1u);
  EXPECT_EQ(core::Utf8SequenceLength(text, 1), 2u);
  EXPECT_EQ(core::Utf8SequenceLength(text, 3), 3u);
  EXPECT_EQ(core::Utf8SequenceLength(text, 6), 4u);
  EXPECT_EQ(core::Utf8SequenceLength(text, 10), 3u);
  EXPECT_EQ(core::Utf8SequenceLength(text, 13), 4u);
}

TEST(Utf8, SequenceLengthIsZeroForBytesThatAreNotUtf8) {
  for (const std::string bad : {
           "\x80",              // a continuation byte first
           "\xBF",
           "\xC0\x80",          // overlong forms
           "\xC1\xBF",
           "\xE0\x9F\xBF",
           "\xF0\x8F\xBF\xBF",
           "\xED\xA0\x80",      // surrogates
           "\xED\xBF\xBF",
           "\xF4\x90\x80\x80",  // above U+10FFFF
           "\xF5\x80\x80\x80",
           "\xF8\x88\x80\x80\x80",
           "\xFF",
           "\xC3",              // cut short
           "\xE3\x81",
           "\xF0\x9F\x98",
           "\xC3" "A",          // a byte that does not continue it
           "\xE3\x81" "A",
           "\xF0\x9F\xC3\xA9",
       }) {
    EXPECT_EQ(core::Utf8SequenceLength(bad, 0), 0u) << testing::PrintToString(bad);
  }
  // The length is judged from the place given, within the text given.
  EXPECT_EQ(core::Utf8SequenceLength("A\xE3\x81\x82", 1), 3u);
  EXPECT_EQ(core::Utf8SequenceLength(std::string_view("\xE3\x81\x82", 2), 0), 0u);
}

}  // namespace
