// The OS/2 and Windows metrics table 'OS/2' in its layouts of versions 0 to
// 5, read as version tails: version 0 ends after usWinDescent (78 bytes),
// version 1 after ulCodePageRange2 (86), versions 2 to 4 after usMaxContext
// (96), version 5 after usUpperOpticalPointSize (100). A version above 5 is
// read with the layout of version 5.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/tables/fields.h"
#include "core/tables/record.h"

namespace core {

struct Os2 {
  uint16_t version = 0;
  int16_t xAvgCharWidth = 0;           // average advance width of the lowercase letters (all glyphs since version 3)
  uint16_t usWeightClass = 0;          // 100 thin to 900 black
  uint16_t usWidthClass = 0;           // 1 ultra-condensed to 9 ultra-expanded
  uint16_t fsType = 0;                 // embedding permissions
  int16_t ySubscriptXSize = 0;
  int16_t ySubscriptYSize = 0;
  int16_t ySubscriptXOffset = 0;
  int16_t ySubscriptYOffset = 0;
  int16_t ySuperscriptXSize = 0;
  int16_t ySuperscriptYSize = 0;
  int16_t ySuperscriptXOffset = 0;
  int16_t ySuperscriptYOffset = 0;
  int16_t yStrikeoutSize = 0;
  int16_t yStrikeoutPosition = 0;
  int16_t sFamilyClass = 0;            // IBM font class and subclass
  uint8_t bFamilyType = 0;             // the ten PANOSE bytes
  uint8_t bSerifStyle = 0;
  uint8_t bWeight = 0;
  uint8_t bProportion = 0;             // 9: monospaced
  uint8_t bContrast = 0;
  uint8_t bStrokeVariation = 0;
  uint8_t bArmStyle = 0;
  uint8_t bLetterform = 0;
  uint8_t bMidline = 0;
  uint8_t bXHeight = 0;
  uint32_t ulUnicodeRange1 = 0;        // Unicode blocks covered, bits 0-31
  uint32_t ulUnicodeRange2 = 0;        // 32-63
  uint32_t ulUnicodeRange3 = 0;        // 64-95
  uint32_t ulUnicodeRange4 = 0;        // 96-127
  std::array<uint8_t, 4> achVendID{};  // the vendor's four characters
  uint16_t fsSelection = 0;            // italic, bold, regular, use typo metrics...
  uint16_t usFirstCharIndex = 0;       // lowest and highest character code, at most 0xFFFF
  uint16_t usLastCharIndex = 0;
  int16_t sTypoAscender = 0;
  int16_t sTypoDescender = 0;
  int16_t sTypoLineGap = 0;
  uint16_t usWinAscent = 0;            // the Windows clipping box
  uint16_t usWinDescent = 0;
  uint32_t ulCodePageRange1 = 0;       // version 1 on: code pages covered
  uint32_t ulCodePageRange2 = 0;
  int16_t sxHeight = 0;                // version 2 on
  int16_t sCapHeight = 0;
  uint16_t usDefaultChar = 0;
  uint16_t usBreakChar = 0;
  uint16_t usMaxContext = 0;
  uint16_t usLowerOpticalPointSize = 0;  // version 5, in TWIPs
  uint16_t usUpperOpticalPointSize = 0;

  static constexpr size_t kSize = 100;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U16(r.version, "version", FieldType::kVersion);
    io.S16(r.xAvgCharWidth, "xAvgCharWidth");
    io.U16(r.usWeightClass, "usWeightClass");
    io.U16(r.usWidthClass, "usWidthClass");
    io.U16(r.fsType, "fsType");
    io.S16(r.ySubscriptXSize, "ySubscriptXSize");
    io.S16(r.ySubscriptYSize, "ySubscriptYSize");
    io.S16(r.ySubscriptXOffset, "ySubscriptXOffset");
    io.S16(r.ySubscriptYOffset, "ySubscriptYOffset");
    io.S16(r.ySuperscriptXSize, "ySuperscriptXSize");
    io.S16(r.ySuperscriptYSize, "ySuperscriptYSize");
    io.S16(r.ySuperscriptXOffset, "ySuperscriptXOffset");
    io.S16(r.ySuperscriptYOffset, "ySuperscriptYOffset");
    io.S16(r.yStrikeoutSize, "yStrikeoutSize");
    io.S16(r.yStrikeoutPosition, "yStrikeoutPosition");
    io.S16(r.sFamilyClass, "sFamilyClass");
    io.U8(r.bFamilyType, "bFamilyType", FieldType::kPanose);
    io.U8(r.bSerifStyle, "bSerifStyle", FieldType::kPanose);
    io.U8(r.bWeight, "bWeight", FieldType::kPanose);
    io.U8(r.bProportion, "bProportion", FieldType::kPanose);
    io.U8(r.bContrast, "bContrast", FieldType::kPanose);
    io.U8(r.bStrokeVariation, "bStrokeVariation", FieldType::kPanose);
    io.U8(r.bArmStyle, "bArmStyle", FieldType::kPanose);
    io.U8(r.bLetterform, "bLetterform", FieldType::kPanose);
    io.U8(r.bMidline, "bMidline", FieldType::kPanose);
    io.U8(r.bXHeight, "bXHeight", FieldType::kPanose);
    io.U32(r.ulUnicodeRange1, "ulUnicodeRange1");
    io.U32(r.ulUnicodeRange2, "ulUnicodeRange2");
    io.U32(r.ulUnicodeRange3, "ulUnicodeRange3");
    io.U32(r.ulUnicodeRange4, "ulUnicodeRange4");
    io.Bytes(r.achVendID, "achVendID", FieldType::kTag);
    io.U16(r.fsSelection, "fsSelection");
    io.U16(r.usFirstCharIndex, "usFirstCharIndex");
    io.U16(r.usLastCharIndex, "usLastCharIndex");
    io.S16(r.sTypoAscender, "sTypoAscender");
    io.S16(r.sTypoDescender, "sTypoDescender");
    io.S16(r.sTypoLineGap, "sTypoLineGap");
    io.U16(r.usWinAscent, "usWinAscent");
    io.U16(r.usWinDescent, "usWinDescent");
    io.Since(1);
    io.U32(r.ulCodePageRange1, "ulCodePageRange1");
    io.U32(r.ulCodePageRange2, "ulCodePageRange2");
    io.Since(2);
    io.S16(r.sxHeight, "sxHeight");
    io.S16(r.sCapHeight, "sCapHeight");
    io.U16(r.usDefaultChar, "usDefaultChar");
    io.U16(r.usBreakChar, "usBreakChar");
    io.U16(r.usMaxContext, "usMaxContext");
    io.Since(5);
    io.U16(r.usLowerOpticalPointSize, "usLowerOpticalPointSize");
    io.U16(r.usUpperOpticalPointSize, "usUpperOpticalPointSize");
  }
};
static_assert(CheckedRecord<Os2>());
static_assert(AllFieldsNamed<Os2>());

constexpr size_t kOs2RecordSize = Os2::kSize;  // the largest layout, version 5
constexpr size_t kOs2Version1Size = 86;        // the merge tool's least output
constexpr uint16_t kOs2LatestVersion = 5;
// The bytes of a table as far as the largest layout reaches.
using Os2Record = std::array<uint8_t, kOs2RecordSize>;

// The version whose layout a table of `version` is read with (above 5: 5).
inline uint16_t Os2LayoutVersion(uint16_t version) {
  return version < kOs2LatestVersion ? version : kOs2LatestVersion;
}
// The bytes that the fields of `version` cover: 78, 86, 96 or 100.
size_t Os2LayoutSize(uint16_t version);

// The fields in the order in which the suite lists them: the numbers of the
// 86-byte layout in table order, the vendor ID, the fields of versions 2 to
// 5, then the ten PANOSE bytes. Indexes into kFieldList<Os2>.
constexpr std::array<uint8_t, kFieldList<Os2>.size()> MakeOs2ListOrder() {
  constexpr const auto& list = kFieldList<Os2>;
  std::array<uint8_t, list.size()> order{};
  size_t next = 0;
  auto take = [&](auto wanted) {
    for (size_t i = 0; i < list.size(); ++i)
      if (wanted(list[i])) order[next++] = static_cast<uint8_t>(i);
  };
  auto number = [](const FieldInfo& f) { return f.type != FieldType::kPanose && f.type != FieldType::kTag; };
  take([&](const FieldInfo& f) { return number(f) && f.since <= 1; });
  take([](const FieldInfo& f) { return f.type == FieldType::kTag; });
  take([&](const FieldInfo& f) { return number(f) && f.since > 1; });
  take([](const FieldInfo& f) { return f.type == FieldType::kPanose; });
  return order;
}
inline constexpr auto kOs2ListOrder = MakeOs2ListOrder();

}  // namespace core
