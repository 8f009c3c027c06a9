// The structural checks on built fonts: a clean font and collection pass,
// and each fault a font can have gets its own finding.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/io/readable_file.h"
#include "editor/render/font_check.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Bytes;
using testsupport::FontBuilder;

std::vector<std::string> Findings(const Bytes& font) {
  testsupport::TempDir dir;
  const std::string path = dir.path() + "/font.ttf";
  testsupport::WriteBytes(path, font);
  core::ReadableFile file;
  EXPECT_TRUE(file.Open(path));
  std::vector<std::string> texts;
  for (const editor::CheckFinding& finding : editor::CheckFontFile(file, editor::ReadFileStructure(file)))
    texts.push_back(finding.text);
  return texts;
}

// The sample font with one table's bytes replaced.
FontBuilder SampleWith(const std::string& tag, const Bytes& data) {
  const FontBuilder sample = testsupport::SampleFont();
  FontBuilder font;
  for (const testsupport::Table& table : sample.tables())
    font.AddTable(table.tag, table.tag.rfind(tag, 0) == 0 ? data : table.data);
  return font;
}

bool Mentions(const std::vector<std::string>& findings, const std::string& part) {
  return std::any_of(findings.begin(), findings.end(), [&](const std::string& f) { return f.find(part) != f.npos; });
}

TEST(FontCheck, CleanFontAndCollectionHaveNoFindings) {
  EXPECT_TRUE(Findings(testsupport::SampleFont().Build()).empty());
  // Shared tables are one region, and a collection font's adjustment is not its own to confirm.
  FontBuilder other = testsupport::SampleFont();
  other.AddTable("cvt", {0, 1, 2, 3});
  EXPECT_TRUE(Findings(testsupport::BuildCollection({testsupport::SampleFont(), other}, true)).empty());
}

TEST(FontCheck, EachFaultHasItsFinding) {
  struct Case {
    const char* finding;
    std::function<Bytes()> make;
  };
  const std::vector<Case> cases = {
      {"not at a multiple of 4", [] { return testsupport::SampleFont().AddTable("cvt", {1, 2, 3}).Unaligned().Build(); }},
      {"not in ascending order", [] { return testsupport::SampleFont().KeepAddOrder().Build(); }},
      {"stores checksum", [] { return testsupport::SampleFont().SkewChecksum("hhea", 1).Build(); }},
      {"checkSumAdjustment", [] { return testsupport::SampleFont().SkewAdjustment(1).Build(); }},
      {"searchRange, entrySelector and rangeShift",
       [] {
         Bytes font = testsupport::SampleFont().Build();
         testsupport::SetU16(font, 6, 0);
         return font;
       }},
      {"overlaps",
       [] {
         Bytes font = testsupport::SampleFont().Build();
         auto entries = testsupport::ReadEntries(font);
         testsupport::PatchEntry(font, 0, entries[0].offset, entries[0].length + 8);
         return font;
       }},
      {"ends beyond the end of the file",
       [] {
         Bytes font = testsupport::SampleFont().Build();
         testsupport::PatchEntry(font, 1, static_cast<uint32_t>(font.size()) - 4, 64);
         return font;
       }},
      {"fill bytes",
       [] {
         Bytes font = testsupport::SampleFont().AddTable("zzzz", {1, 2, 3, 4, 5}).Build();
         font.back() = 0x55;  // the last table's fill
         return font;
       }},
      {"magicNumber",
       [] {
         Bytes head = testsupport::MakeHead();
         testsupport::SetU32(head, 12, 0x12345678);
         return SampleWith("head", head).Build();
       }},
      {"OS/2 version 2 needs 96 bytes",
       [] {
         Bytes os2 = testsupport::MakeOs2();
         testsupport::SetU16(os2, 0, 2);
         return SampleWith("OS/2", os2).Build();
       }},
      {"the font has no head table", [] { return FontBuilder().AddTable("maxp", testsupport::MakeMaxp()).Build(); }},
  };
  for (const Case& c : cases) {
    std::vector<std::string> findings = Findings(c.make());
    EXPECT_TRUE(Mentions(findings, c.finding)) << c.finding << "; found " << findings.size() << " other findings";
  }
}

}  // namespace
