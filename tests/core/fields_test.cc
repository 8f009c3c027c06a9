// The named field lists: where the OpenType format puts each field, which
// version brings it, and reading and storing by name over a table's bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/tables/fields.h"

namespace {

const core::FieldInfo& Field(const char* tag, const char* name) {
  const core::TableSchema* schema = core::TableSchemaFor(tag);
  EXPECT_NE(schema, nullptr) << tag;
  const core::FieldInfo* field = core::FindField(schema->fields, name);
  EXPECT_NE(field, nullptr) << tag << "." << name;
  static const core::FieldInfo kNone{};
  return field ? *field : kNone;
}

TEST(FieldLists, PlaceEachFieldWhereTheFormatPutsIt) {
  struct Case {
    const char* tag;
    const char* name;
    uint16_t offset;
    uint8_t width;
    core::FieldType type;
    uint32_t since;
  } cases[] = {
      {"head", "fontRevision", 4, 4, core::FieldType::kFixed, 0},
      {"head", "checkSumAdjustment", 8, 4, core::FieldType::kUInt32, 0},
      {"head", "unitsPerEm", 18, 2, core::FieldType::kUInt16, 0},
      {"head", "created", 20, 8, core::FieldType::kLongDateTime, 0},
      {"head", "indexToLocFormat", 50, 2, core::FieldType::kInt16, 0},
      {"hhea", "ascender", 4, 2, core::FieldType::kInt16, 0},
      {"hhea", "numberOfHMetrics", 34, 2, core::FieldType::kUInt16, 0},
      {"vhea", "vertTypoLineGap", 8, 2, core::FieldType::kInt16, 0},
      {"vhea", "numOfLongVerMetrics", 34, 2, core::FieldType::kUInt16, 0},
      {"maxp", "numGlyphs", 4, 2, core::FieldType::kUInt16, 0},
      {"maxp", "maxPoints", 6, 2, core::FieldType::kUInt16, 0x00010000},
      {"maxp", "maxComponentDepth", 30, 2, core::FieldType::kUInt16, 0x00010000},
      {"OS/2", "fsType", 8, 2, core::FieldType::kUInt16, 0},
      {"OS/2", "bProportion", 35, 1, core::FieldType::kPanose, 0},
      {"OS/2", "achVendID", 58, 4, core::FieldType::kTag, 0},
      {"OS/2", "usWinAscent", 74, 2, core::FieldType::kUInt16, 0},
      {"OS/2", "ulCodePageRange1", 78, 4, core::FieldType::kUInt32, 1},
      {"OS/2", "sxHeight", 86, 2, core::FieldType::kInt16, 2},
      {"OS/2", "usMaxContext", 94, 2, core::FieldType::kUInt16, 2},
      {"OS/2", "usUpperOpticalPointSize", 98, 2, core::FieldType::kUInt16, 5},
      {"post", "italicAngle", 4, 4, core::FieldType::kFixed, 0},
      {"post", "underlineThickness", 10, 2, core::FieldType::kInt16, 0},
      {"post", "maxMemType1", 28, 4, core::FieldType::kUInt32, 0},
      {"name", "stringOffset", 4, 2, core::FieldType::kUInt16, 0},
      {"cmap", "numTables", 2, 2, core::FieldType::kUInt16, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tag) + "." + c.name);
    const core::FieldInfo& field = Field(c.tag, c.name);
    EXPECT_EQ(field.offset, c.offset);
    EXPECT_EQ(field.width, c.width);
    EXPECT_EQ(field.type, c.type);
    EXPECT_EQ(field.since, c.since);
  }
}

TEST(FieldLists, LayoutsEndWhereEachVersionEnds) {
  const core::TableSchema& os2 = *core::TableSchemaFor("OS/2");
  EXPECT_EQ(os2.LayoutSize(0), 78u);
  EXPECT_EQ(os2.LayoutSize(1), 86u);
  EXPECT_EQ(os2.LayoutSize(3), 96u);
  EXPECT_EQ(os2.LayoutSize(5), 100u);
  EXPECT_EQ(os2.LayoutSize(9), 100u);  // a newer version is read with the newest layout
  const core::TableSchema& maxp = *core::TableSchemaFor("maxp");
  EXPECT_EQ(maxp.LayoutSize(0x00005000), 6u);
  EXPECT_EQ(maxp.LayoutSize(0x00010000), 32u);
  EXPECT_EQ(core::TableSchemaFor("head")->MaxSize(), 54u);
  EXPECT_EQ(core::TableSchemaFor("post")->MaxSize(), 32u);
  EXPECT_EQ(core::TableSchemaFor("vhea")->MaxSize(), 36u);
  // The version each table's bytes declare.
  const std::vector<uint8_t> os2v4{0, 4, 1, 2};
  EXPECT_EQ(os2.version(os2v4), 4u);
  const std::vector<uint8_t> maxp05{0, 0, 0x50, 0, 0, 7};
  EXPECT_EQ(maxp.version(maxp05), 0x00005000u);
  EXPECT_EQ(core::TableSchemaFor("cvt "), nullptr);
  EXPECT_EQ(core::TableSchemaFor("OS/"), nullptr);
}

TEST(FieldLists, OS2IsListedInTheSuitesOrder) {
  std::vector<std::string> names;
  core::TableSchemaFor("OS/2")->ForEachListed([&](const core::FieldInfo& field) { names.push_back(field.name); });
  ASSERT_EQ(names.size(), 48u);
  EXPECT_EQ(names[0], "version");
  EXPECT_EQ(names[15], "sFamilyClass");
  EXPECT_EQ(names[16], "ulUnicodeRange1");  // the PANOSE bytes wait for the end
  EXPECT_EQ(names[29], "ulCodePageRange2");
  EXPECT_EQ(names[30], "achVendID");
  EXPECT_EQ(names[31], "sxHeight");
  EXPECT_EQ(names[37], "usUpperOpticalPointSize");
  EXPECT_EQ(names[38], "bFamilyType");
  EXPECT_EQ(names[47], "bXHeight");
}

TEST(FieldValues, ReadWithTheirSignAndStoreBigEndian) {
  std::vector<uint8_t> hhea(36, 0);
  hhea[6] = 0xFE;  // descender -278
  hhea[7] = 0xEA;
  hhea[8] = 0xFF;  // lineGap: 0xFFFF
  hhea[9] = 0xFF;
  hhea[10] = 0xFF;  // advanceWidthMax: 0xFFFF
  hhea[11] = 0xFF;
  EXPECT_EQ(core::FieldNumber(Field("hhea", "descender"), hhea), -278);
  EXPECT_EQ(core::FieldNumber(Field("hhea", "lineGap"), hhea), -1);
  EXPECT_EQ(core::FieldNumber(Field("hhea", "advanceWidthMax"), hhea), 65535);
  EXPECT_EQ(core::FieldBits(Field("hhea", "lineGap"), hhea), 0xFFFFu);

  std::vector<uint8_t> head(54, 0);
  ASSERT_TRUE(core::StoreFieldBits(Field("head", "created"), 0x00000000D5A3B2C1, head));
  EXPECT_EQ(std::vector<uint8_t>(head.begin() + 20, head.begin() + 28),
            (std::vector<uint8_t>{0, 0, 0, 0, 0xD5, 0xA3, 0xB2, 0xC1}));
  ASSERT_TRUE(core::StoreFieldBits(Field("head", "unitsPerEm"), 0x12345678, head));  // the low 16 bits
  EXPECT_EQ(head[18], 0x56);
  EXPECT_EQ(head[19], 0x78);
  EXPECT_EQ(core::FieldNumber(Field("head", "created"), head), 0xD5A3B2C1);

  // Bytes that end before the field: no value, nothing stored.
  std::vector<uint8_t> cut(75, 0xAB);
  EXPECT_EQ(core::FieldBits(Field("OS/2", "usWinAscent"), cut), std::nullopt);
  EXPECT_FALSE(core::StoreFieldBits(Field("OS/2", "usWinAscent"), 1, cut));
  EXPECT_EQ(cut, std::vector<uint8_t>(75, 0xAB));
}

}  // namespace
