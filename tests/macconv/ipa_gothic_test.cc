// The converter on a real Japanese font that nobody here made (IPA Gothic),
// checked by an independent reader (fontTools): a Mac cmap built from the
// font's own Unicode map, the font's Japanese names in Shift-JIS, and the font
// wrapped in Mac data.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "core/text/shift_jis.h"
#include "tests/macconv/mac_tables.h"

namespace {

using mactest::Bytes;
using testsupport::TempDir;

constexpr const char* kFontCmapScript = R"(
import sys
from fontTools.ttLib import TTFont
font = TTFont(sys.argv[1], lazy=True)
for code, name in sorted(font['cmap'].getcmap(3, 1).cmap.items()):
    print(code, font.getGlyphID(name))
)";

constexpr const char* kConvertedCmapScript = R"(
import sys
from fontTools.ttLib import TTFont, newTable
font = TTFont()
font.setGlyphOrder(['g%d' % i for i in range(65536)])
cmap = newTable('cmap')
cmap.decompile(open(sys.argv[1], 'rb').read(), font)
for t in cmap.tables:
    print('subtable', t.platformID, t.platEncID, t.format)
for code, name in sorted(cmap.getcmap(3, 1).cmap.items()):
    print(code, name[1:])
)";

constexpr const char* kNamesScript = R"(
import sys
from fontTools.ttLib import TTFont, newTable
if sys.argv[1] == 'font':
    names = TTFont(sys.argv[2], lazy=True)['name'].names
else:
    table = newTable('name')
    table.decompile(open(sys.argv[2], 'rb').read(), None)
    names = table.names
for r in names:
    print(r.platformID, r.platEncID, r.langID, r.nameID, r.toUnicode().encode('utf-16-be').hex() or '-')
)";

std::string Quote(const std::string& text) { return "'" + text + "'"; }

bool Available() {
  return !testsupport::SystemFont(mactest::kIpaGothic).empty() &&
         testsupport::RunCommand(testsupport::FontToolsPython() + " -c 'import fontTools'").status == 0;
}

std::vector<uint16_t> Utf16Units(const std::string& hex) {
  std::vector<uint16_t> units;
  for (size_t i = 0; i + 4 <= hex.size(); i += 4) units.push_back(static_cast<uint16_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
  return units;
}

TEST(IpaGothic, MacCmapBecomesTheFontsOwnUnicodeMap) {
  if (!Available()) GTEST_SKIP() << "IPA Gothic or fontTools is not installed";
  TempDir dir, work;
  auto fontRun = mactest::RunFontTools(dir, kFontCmapScript, Quote(mactest::kIpaGothic));
  ASSERT_EQ(fontRun.status, 0) << fontRun.err;
  std::map<uint32_t, uint16_t> fontGlyphs;
  std::istringstream fontLines(fontRun.out);
  for (uint32_t code, glyph; fontLines >> code >> glyph;) fontGlyphs[code] = static_cast<uint16_t>(glyph);
  ASSERT_GT(fontGlyphs.size(), 7000u);

  // The Mac subtable: every Shift-JIS code to the glyph of its Unicode value.
  std::map<uint16_t, uint16_t> macGlyphs;
  for (const core::CodePair& pair : core::ShiftJisList()) {
    if (pair.key == 0) break;
    auto found = fontGlyphs.find(pair.value);
    macGlyphs[static_cast<uint16_t>(pair.key)] = found == fontGlyphs.end() ? 0 : found->second;
  }
  testsupport::WriteBytes(dir.File("mac.cmap"), mactest::MakeCmapTable({{1, 1, 0}}, {mactest::MakeFormat2(macGlyphs)}));
  auto run = mactest::RunDrumlin(dir, "--cmap mac.cmap win.cmap", work.path());
  ASSERT_EQ(run.status, 0) << run.err;

  Bytes output = testsupport::ReadBytes(dir.File("win.cmap"));
  ASSERT_GE(output.size(), 26u);
  ASSERT_EQ(mactest::U32(output, 8), 12u);
  mactest::Format4 f = mactest::ReadFormat4(output, 12);
  EXPECT_EQ(f.segCountX2 / 2, 1873);
  EXPECT_EQ(f.glyphCount, 10167u);
  EXPECT_EQ(f.length, 35334);
  EXPECT_EQ(f.searchRange, 2048);
  EXPECT_EQ(f.entrySelector, 10);
  EXPECT_EQ(f.rangeShift, 1698);

  auto check = mactest::RunFontTools(dir, kConvertedCmapScript, Quote(dir.File("win.cmap")));
  ASSERT_EQ(check.status, 0) << check.err;
  std::istringstream lines(check.out);
  std::string word;
  lines >> word;
  ASSERT_EQ(word, "subtable");
  int platformID, encodingID, format;
  lines >> platformID >> encodingID >> format;
  EXPECT_EQ(std::vector<int>({platformID, encodingID, format}), std::vector<int>({3, 1, 4}));
  std::map<uint32_t, uint16_t> converted;
  for (uint32_t code, glyph; lines >> code >> glyph;) converted[code] = static_cast<uint16_t>(glyph);

  size_t checked = 0;
  for (const core::CodePair& pair : core::UnicodeList()) {
    if (pair.key == 0) break;
    auto want = fontGlyphs.find(pair.key);
    auto got = converted.find(pair.key);
    uint16_t expected = want == fontGlyphs.end() ? 0 : want->second;
    uint16_t actual = got == converted.end() ? 0 : got->second;
    ASSERT_EQ(actual, expected) << std::hex << "U+" << pair.key;
    ++checked;
  }
  EXPECT_EQ(checked, 7037u);
  for (const auto& [code, glyph] : converted) {
    EXPECT_NE(core::UnicodeToShiftJis(code), 0u) << std::hex << "U+" << code << " mapped outside the table";
  }
}

TEST(IpaGothic, JapaneseNamesComeBackAsWindowsUnicode) {
  if (!Available()) GTEST_SKIP() << "IPA Gothic or fontTools is not installed";
  TempDir dir, work;
  auto fontRun = mactest::RunFontTools(dir, kNamesScript, "font " + Quote(mactest::kIpaGothic));
  ASSERT_EQ(fontRun.status, 0) << fontRun.err;

  // The font's Windows Japanese names, stored the Mac way in Shift-JIS.
  std::vector<testsupport::NameRecord> records;
  std::map<int, std::string> expected;
  std::istringstream lines(fontRun.out);
  for (int platformID, encodingID, languageID, nameID; lines >> platformID >> encodingID >> languageID >> nameID;) {
    std::string hex;
    lines >> hex;
    if (platformID != 3 || encodingID != 1 || languageID != 1041) continue;
    Bytes shiftJis;
    for (uint16_t unit : Utf16Units(hex)) {
      uint32_t code = core::UnicodeToShiftJis(unit);
      ASSERT_NE(code, 0u) << "name " << nameID << " holds U+" << std::hex << unit;
      if (code > 0xFF) shiftJis.push_back(static_cast<uint8_t>(code >> 8));
      shiftJis.push_back(static_cast<uint8_t>(code));
    }
    records.push_back({1, 1, 11, static_cast<uint16_t>(nameID), shiftJis});
    expected[nameID] = hex;
  }
  ASSERT_EQ(expected.count(4), 1u);
  EXPECT_EQ(expected[4], "00490050004130b430b730c330af");  // IPAゴシック
  records.push_back({1, 0, 0, 1, testsupport::AsciiBytes("IPAGothic")});
  testsupport::WriteBytes(dir.File("mac.name"), testsupport::MakeName(records));

  auto run = mactest::RunDrumlin(dir, "--name mac.name", work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  auto check = mactest::RunFontTools(dir, kNamesScript, "table " + Quote(dir.File("mac.name.name")));
  ASSERT_EQ(check.status, 0) << check.err;
  std::map<int, std::string> converted;
  std::string english;
  std::istringstream out(check.out);
  for (int platformID, encodingID, languageID, nameID; out >> platformID >> encodingID >> languageID >> nameID;) {
    std::string hex;
    out >> hex;
    if (platformID == 3 && encodingID == 1 && languageID == 1041) converted[nameID] = hex;
    if (platformID == 1 && encodingID == 0 && languageID == 0) english = hex;
  }
  EXPECT_EQ(converted, expected);
  EXPECT_EQ(english, "0049005000410047006f0074006800690063");
}

TEST(IpaGothic, FontWrappedInMacDataComesOutWhole) {
  if (testsupport::SystemFont(mactest::kIpaGothic).empty()) GTEST_SKIP() << "IPA Gothic is not installed";
  TempDir dir, work;
  Bytes font = testsupport::ReadBytes(mactest::kIpaGothic);
  ASSERT_EQ(mactest::U32(font, 0), 0x00010000u);
  Bytes wrapped;
  for (int i = 0; i < 1000; ++i) wrapped.push_back(static_cast<uint8_t>("RESOURCE-FORK-DATA "[i % 19]));
  wrapped.insert(wrapped.end(), {'t', 'r', 'u', 'e'});
  wrapped.insert(wrapped.end(), font.begin() + 4, font.end());
  testsupport::WriteBytes(dir.File("IPA Gothic suitcase"), wrapped);

  auto run = mactest::RunDrumlin(dir, "--extract 'IPA Gothic suitcase' ipag.ttf", work.path());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "Message: Successfully Extracted the TrueType Font. (" + std::to_string(font.size()) + " bytes) (Written: ipag.ttf)\n");
  EXPECT_TRUE(testsupport::ReadBytes(dir.File("ipag.ttf")) == font);
}

}  // namespace
