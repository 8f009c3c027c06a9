// How the report turns name strings into text: Shift-JIS and UTF-16 strings
// as UTF-8 for the JSON report and UTF-8 terminals, and JSON strings from any
// bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/render/name_string.h"
#include "editor/render/report_json.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Utf8Of(uint16_t platformID, uint16_t encodingID, const Bytes& bytes) {
  std::string text = "left over";
  EXPECT_TRUE(editor::NameStringUtf8(platformID, encodingID, bytes, &text));
  return text;
}

const char kReplacement[] = "\xEF\xBF\xBD";

std::string Replacements(int count) {
  std::string text;
  while (count-- > 0) text += kReplacement;
  return text;
}

TEST(NameStringUtf8, JapaneseStringsReadEveryLeadByteAndStopAtZero) {
  // U+3042; 0xFD as a space; ASCII 0x5C, 0x7E and a control byte as they are;
  // 0x80 outside the table; half-width katakana; 0xEB 0x40, a pair outside
  // the table, as a space; a lead byte before the zero byte stands alone.
  const Bytes bytes = {0x82, 0xA0, 0xFD, 0x5C, 0x7E, 0x01, 0x80, 0xB1, 0xEB, 0x40, 0x82, 0x00, 0x41};
  const std::string expected = std::string("\xE3\x81\x82 \\~\x01") + kReplacement + "\xEF\xBD\xB1 " + kReplacement;
  EXPECT_EQ(Utf8Of(1, 1, bytes), expected);  // Mac Japanese
  EXPECT_EQ(Utf8Of(3, 2, bytes), expected);  // Windows ShiftJIS
  // A lead byte at the end stands alone too; 0xFC is a lead byte.
  EXPECT_EQ(Utf8Of(1, 1, {0x41, 0x82}), std::string("A") + kReplacement);
  EXPECT_EQ(Utf8Of(1, 1, {0xFC, 0x40, 0x41}), " A");
  EXPECT_EQ(Utf8Of(1, 1, {0x00, 0x41}), "");
}

TEST(NameStringUtf8, Utf16StringsPairSurrogatesAndStopAtZero) {
  EXPECT_EQ(Utf8Of(3, 1, {0xD8, 0x3D, 0xDE, 0x00, 0xDC, 0x00, 0x00, 0x41, 0x00, 0x00, 0x00, 0x42}),
            std::string("\xF0\x9F\x98\x80") + kReplacement + "A");
  EXPECT_EQ(Utf8Of(0, 3, {0x30, 0x42, 0x00, 0xE9, 0x07, 0xFF}), "\xE3\x81\x82\xC3\xA9\xDF\xBF");
  EXPECT_EQ(Utf8Of(3, 10, {0x00, 0x41, 0xD8, 0x00}), std::string("A") + kReplacement);
  EXPECT_EQ(Utf8Of(3, 1, {0x00, 0x41, 0x42}), std::string("A") + kReplacement);  // an odd last byte
}

TEST(NameStringUtf8, OtherEncodingsOnlyAsAscii) {
  EXPECT_EQ(Utf8Of(1, 0, {0x41, 0x42, 0x00, 0x43}), "AB");
  std::string text;
  EXPECT_FALSE(editor::NameStringUtf8(1, 0, Bytes{0x41, 0xE9}, &text));
  EXPECT_FALSE(editor::NameStringUtf8(3, 3, Bytes{0x82, 0xA0}, &text));
}

TEST(NameStringText, Utf8Forms) {
  EXPECT_EQ(editor::NameStringText(1, 1, Bytes{0x82, 0xA0, 0xFD, 0x80}, editor::NameText::kUtf8),
            std::string("\xE3\x81\x82 ") + kReplacement);
  EXPECT_EQ(editor::NameStringText(3, 1, Bytes{0x30, 0x42}, editor::NameText::kUtf8), "\xE3\x81\x82");
  // Other encodings as stored, up to the zero byte, in the UTF-8 form too.
  EXPECT_EQ(editor::NameStringText(1, 0, Bytes{0xE9, 0xFD, 0x00, 0x41}, editor::NameText::kUtf8), "\xE9\xFD");
}

TEST(JsonString, EscapesAndKeepsOnlyWellFormedUtf8) {
  EXPECT_EQ(editor::JsonString("a\"\\\x01\x1F/"), "\"a\\\"\\\\\\u0001\\u001f/\"");
  EXPECT_EQ(editor::JsonString("\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80"), "\"\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80\"");
  // A stray continuation byte, bytes that are never UTF-8 and a sequence cut
  // short: each byte becomes U+FFFD and the text goes on after it.
  EXPECT_EQ(editor::JsonString("\x80" "A\xFF\xF8"), std::string("\"") + kReplacement + "A" + kReplacement +
                                                        kReplacement + "\"");
  EXPECT_EQ(editor::JsonString("\xE3\x81" "A\xE3"), std::string("\"") + kReplacement + kReplacement + "A" +
                                                         kReplacement + "\"");
  // Overlong forms, surrogates and values above U+10FFFF are not UTF-8 either.
  EXPECT_EQ(editor::JsonString("\xC0\xAF\xED\xA0\x80" "A\xF4\x90\x80\x80"),
            "\"" + Replacements(5) + "A" + Replacements(4) + "\"");
}

}  // namespace
