// The editor's one reader: the collection rule as a parameter of the view,
// fonts that repeat an earlier one, directories read once, and region sums
// taken once each within their budget.
#include <gtest/gtest.h>

#include <cstring>

#include "core/io/readable_file.h"
#include "editor/model/font_file.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Bytes;

struct Opened {
  testsupport::TempDir dir;
  core::ReadableFile file;
  std::string path;
  Opened(const std::string& name, const Bytes& bytes) : path(dir.File(name)) {
    testsupport::WriteBytes(path, bytes);
    EXPECT_TRUE(file.Open(path));
  }
};

TEST(FontFile, TheCollectionRuleIsTheViewsChoice) {
  const Bytes ttc = testsupport::BuildCollection({testsupport::SampleFont(), testsupport::SampleFont()}, true);
  Opened named("fonts.ttf", ttc);  // a collection under a single font's name
  editor::FontFile byTag(named.file, editor::CollectionRule::kCollectionTag, named.path);
  EXPECT_TRUE(byTag.collection());
  EXPECT_EQ(byTag.fontCount(), 2u);
  EXPECT_EQ(byTag.header().numFonts, 2u);
  EXPECT_EQ(byTag.Directory(1).entries.size(), 8u);
  editor::FontFile byName(named.file, editor::CollectionRule::kFileName, named.path);
  EXPECT_FALSE(byName.collection());
  EXPECT_EQ(byName.fontOffsets(), std::vector<uint32_t>{0});
  // "ttcf" read as an offset table: the header's version 1.0 counts as one table.
  EXPECT_EQ(byName.Directory(0).offsetTable.versionMajor, 0x7474);
  EXPECT_EQ(byName.Directory(0).offsetTable.numTables, 1);

  Opened single("sample.TTC", testsupport::SampleFont().Build());  // a single font under a collection's name
  editor::FontFile reportView(single.file, editor::CollectionRule::kFileName, single.path);
  EXPECT_TRUE(reportView.collection());
  EXPECT_FALSE(editor::FontFile(single.file, editor::CollectionRule::kCollectionTag, single.path).collection());
  EXPECT_TRUE(editor::IsCollectionPath("a.Ttc"));
  EXPECT_FALSE(editor::IsCollectionPath("ttc"));
}

TEST(FontFile, AFontAtAnEarlierOffsetIsThatFont) {
  Bytes ttc = testsupport::BuildCollection({testsupport::SampleFont(), testsupport::SampleFont()}, true);
  std::memcpy(ttc.data() + 16, ttc.data() + 12, 4);  // font 1 at font 0's offset
  Opened opened("same.ttc", ttc);
  editor::FontFile model(opened.file, editor::CollectionRule::kCollectionTag, opened.path);
  EXPECT_EQ(model.SameAs(0), std::nullopt);
  EXPECT_EQ(model.SameAs(1), std::optional<size_t>(0));
}

TEST(RegionSums, EachRegionIsSummedOnceAndTheBudgetStopsTheRest) {
  Opened opened("f.ttf", Bytes(1000, 1));
  int calls = 0;
  auto sum = [&calls](const core::TableDirEntry& entry, bool head) {
    ++calls;
    return entry.offset + (head ? 1u : 0u);
  };
  core::TableDirEntry glyf{{'g', 'l', 'y', 'f'}, 0, 100, 600};
  core::TableDirEntry head{{'h', 'e', 'a', 'd'}, 0, 100, 54};
  core::TableDirEntry loca{{'l', 'o', 'c', 'a'}, 0, 700, 600};  // 300 of its bytes lie in the file
  editor::RegionSums sums(sum, opened.file, 950);
  EXPECT_EQ(sums.Of(glyf), 100u);
  EXPECT_EQ(sums.Of(glyf), 100u);  // shared by another font: not summed again, not paid again
  EXPECT_EQ(sums.Of(head), 101u);  // the same offset by the head rule is another region
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(sums.Of(loca), std::nullopt);  // 600 + 54 + 300 would pass 950
  EXPECT_EQ(calls, 2);
  editor::RegionSums unbounded(sum);
  EXPECT_EQ(unbounded.Of(loca), 700u);
}

}  // namespace
