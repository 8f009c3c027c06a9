#include "core/tables/os2.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/byte_cursor.h"
#include "core/byte_order.h"

namespace core {
namespace {

constexpr const char* kSummary = "SUMMARY";
constexpr const char* kPanose = "PANOSE";
constexpr bool kSigned = true;
constexpr bool kUnsigned = false;
using enum Os2TextForm;

constexpr uint32_t Bits(int value) { return static_cast<uint32_t>(value); }

constexpr Os2Field kFields[] = {
    {kSummary, "version", 0, 2, 0, kUnsigned, kDecimal, 1},
    {kSummary, "xAvgCharWidth", 2, 2, 0, kSigned, kDecimal, 1024},
    {kSummary, "usWeightClass", 4, 2, 0, kUnsigned, kDecimal, 400},
    {kSummary, "usWidthClass", 6, 2, 0, kUnsigned, kDecimal, 5},
    {kSummary, "fsType", 8, 2, 0, kSigned, kHex, 8},
    {kSummary, "ySubscriptXSize", 10, 2, 0, kSigned, kDecimal, 1024},
    {kSummary, "ySubscriptYSize", 12, 2, 0, kSigned, kDecimal, 1024},
    {kSummary, "ySubscriptXOffset", 14, 2, 0, kSigned, kDecimal, 0},
    {kSummary, "ySubscriptYOffset", 16, 2, 0, kSigned, kDecimal, 294},
    {kSummary, "ySuperscriptXSize", 18, 2, 0, kSigned, kDecimal, 1024},
    {kSummary, "ySuperscriptYSize", 20, 2, 0, kSigned, kDecimal, 1024},
    {kSummary, "ySuperscriptXOffset", 22, 2, 0, kSigned, kDecimal, 0},
    {kSummary, "ySuperscriptYOffset", 24, 2, 0, kSigned, kDecimal, 736},
    {kSummary, "yStrikeoutSize", 26, 2, 0, kSigned, kDecimal, 104},
    {kSummary, "yStrikeoutPosition", 28, 2, 0, kSigned, kDecimal, 528},
    {kSummary, "sFamilyClass", 30, 2, 0, kSigned, kDecimal, 2053},
    {kSummary, "ulUnicodeRange1", 42, 4, 0, kUnsigned, kHex8, 1},
    {kSummary, "ulUnicodeRange2", 46, 4, 0, kUnsigned, kHex8, 0x8070000},
    {kSummary, "ulUnicodeRange3", 50, 4, 0, kUnsigned, kHex8, 0},
    {kSummary, "ulUnicodeRange4", 54, 4, 0, kUnsigned, kHex8, 0},
    {kSummary, "fsSelection", 62, 2, 0, kUnsigned, kDecimal, 64},
    {kSummary, "usFirstCharIndex", 64, 2, 0, kUnsigned, kHex, 32},
    {kSummary, "usLastCharIndex", 66, 2, 0, kUnsigned, kHex, 65509},
    {kSummary, "sTypoAscender", 68, 2, 0, kSigned, kDecimal, 1770},
    {kSummary, "sTypoDescender", 70, 2, 0, kSigned, kDecimal, Bits(-278)},
    {kSummary, "sTypoLineGap", 72, 2, 0, kSigned, kDecimal, 512},
    {kSummary, "usWinAscent", 74, 2, 0, kUnsigned, kDecimal, 1770},
    {kSummary, "usWinDescent", 76, 2, 0, kUnsigned, kDecimal, 278},
    {kSummary, "ulCodePageRange1", 78, 4, 1, kUnsigned, kHex8, 0x40000},
    {kSummary, "ulCodePageRange2", 82, 4, 1, kUnsigned, kHex8, 0},
    {kSummary, "achVendID", 58, 4, 0, kUnsigned, kVendor, 0},
    {kSummary, "sxHeight", 86, 2, 2, kSigned, kDecimal, 0},
    {kSummary, "sCapHeight", 88, 2, 2, kSigned, kDecimal, 0},
    {kSummary, "usDefaultChar", 90, 2, 2, kUnsigned, kHex, 0},
    {kSummary, "usBreakChar", 92, 2, 2, kUnsigned, kHex, 32},
    {kSummary, "usMaxContext", 94, 2, 2, kUnsigned, kDecimal, 0},
    {kSummary, "usLowerOpticalPointSize", 96, 2, 5, kUnsigned, kDecimal, 0},
    {kSummary, "usUpperOpticalPointSize", 98, 2, 5, kUnsigned, kDecimal, 0},
    {kPanose, "bFamilyType", 32, 1, 0, kUnsigned, kDecimal, 2},
    {kPanose, "bSerifStyle", 33, 1, 0, kUnsigned, kDecimal, 11},
    {kPanose, "bWeight", 34, 1, 0, kUnsigned, kDecimal, 6},
    {kPanose, "bProportion", 35, 1, 0, kUnsigned, kDecimal, 9},
    {kPanose, "bContrast", 36, 1, 0, kUnsigned, kDecimal, 7},
    {kPanose, "bStrokeVariation", 37, 1, 0, kUnsigned, kDecimal, 2},
    {kPanose, "bArmStyle", 38, 1, 0, kUnsigned, kDecimal, 5},
    {kPanose, "bLetterform", 39, 1, 0, kUnsigned, kDecimal, 8},
    {kPanose, "bMidline", 40, 1, 0, kUnsigned, kDecimal, 2},
    {kPanose, "bXHeight", 41, 1, 0, kUnsigned, kDecimal, 4},
};

// The fields tile the record: every byte belongs to exactly one field.
constexpr bool FieldsTileRecord() {
  std::array<int, kOs2RecordSize> owners{};
  for (const Os2Field& field : kFields) {
    if (field.offset + field.width > kOs2RecordSize) return false;
    for (int at = 0; at < field.width; ++at) ++owners[field.offset + at];
  }
  for (int owner : owners)
    if (owner != 1) return false;
  return true;
}
static_assert(FieldsTileRecord(), "the OS/2 field list must cover the 100-byte record exactly once");

constexpr size_t LayoutSize(uint16_t version) {
  size_t end = 0;
  for (const Os2Field& field : kFields)
    if (field.sinceVersion <= version && size_t{field.offset} + field.width > end) end = field.offset + field.width;
  return end;
}
static_assert(LayoutSize(0) == 78 && LayoutSize(1) == kOs2Version1Size && LayoutSize(2) == 96 &&
                  LayoutSize(4) == 96 && LayoutSize(5) == kOs2RecordSize,
              "the OS/2 layouts end where the format's versions end");

}  // namespace

std::span<const Os2Field> Os2Fields() { return kFields; }

size_t Os2LayoutSize(uint16_t version) { return LayoutSize(Os2LayoutVersion(version)); }

const Os2Field& Os2FieldNamed(std::string_view key) {
  for (const Os2Field& field : kFields)
    if (key == field.key) return field;
  std::abort();
}

uint32_t Os2FieldBits(const Os2Field& field, const Os2Record& record) {
  ByteCursor cursor(record, field.offset);
  switch (field.width) {
    case 1: {
      uint8_t value;
      cursor.ReadU8(&value);
      return value;
    }
    case 2: {
      uint16_t value;
      cursor.ReadU16(&value);
      return value;
    }
    default: {
      uint32_t value;
      cursor.ReadU32(&value);
      return value;
    }
  }
}

std::span<const uint8_t> Os2FieldBytes(const Os2Field& field, const Os2Record& record) {
  return std::span<const uint8_t>(record).subspan(field.offset, field.width);
}

void StoreOs2FieldBits(const Os2Field& field, uint32_t value, Os2Record* record) {
  uint8_t* at = record->data() + field.offset;
  switch (field.width) {
    case 1:
      at[0] = static_cast<uint8_t>(value);
      break;
    case 2:
      StoreU16(at, static_cast<uint16_t>(value));
      break;
    default:
      StoreU32(at, value);
      break;
  }
}

void StoreOs2FieldBytes(const Os2Field& field, std::span<const uint8_t> bytes, Os2Record* record) {
  std::copy_n(bytes.begin(), std::min<size_t>(bytes.size(), field.width), record->begin() + field.offset);
}

}  // namespace core
