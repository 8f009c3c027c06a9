#include "tools/os2/os2_profile.h"

#include <cinttypes>
#include <cstdio>
#include <string_view>

namespace tools {
namespace {

using enum Os2TextForm;

struct Rule {
  const char* name;
  Os2TextForm form;
  uint32_t defaultValue;
};

constexpr uint32_t Bits(int value) { return static_cast<uint32_t>(value); }

// In the order of the table's list (core::kOs2ListOrder).
constexpr Rule kRules[] = {
    {"version", kDecimal, 1},
    {"xAvgCharWidth", kDecimal, 1024},
    {"usWeightClass", kDecimal, 400},
    {"usWidthClass", kDecimal, 5},
    {"fsType", kSignedHex, 8},
    {"ySubscriptXSize", kDecimal, 1024},
    {"ySubscriptYSize", kDecimal, 1024},
    {"ySubscriptXOffset", kDecimal, 0},
    {"ySubscriptYOffset", kDecimal, 294},
    {"ySuperscriptXSize", kDecimal, 1024},
    {"ySuperscriptYSize", kDecimal, 1024},
    {"ySuperscriptXOffset", kDecimal, 0},
    {"ySuperscriptYOffset", kDecimal, 736},
    {"yStrikeoutSize", kDecimal, 104},
    {"yStrikeoutPosition", kDecimal, 528},
    {"sFamilyClass", kDecimal, 2053},
    {"ulUnicodeRange1", kHex8, 1},
    {"ulUnicodeRange2", kHex8, 0x8070000},
    {"ulUnicodeRange3", kHex8, 0},
    {"ulUnicodeRange4", kHex8, 0},
    {"fsSelection", kDecimal, 64},
    {"usFirstCharIndex", kHex, 32},
    {"usLastCharIndex", kHex, 65509},
    {"sTypoAscender", kDecimal, 1770},
    {"sTypoDescender", kDecimal, Bits(-278)},
    {"sTypoLineGap", kDecimal, 512},
    {"usWinAscent", kDecimal, 1770},
    {"usWinDescent", kDecimal, 278},
    {"ulCodePageRange1", kHex8, 0x40000},
    {"ulCodePageRange2", kHex8, 0},
    {"achVendID", kVendor, 0},
    {"sxHeight", kDecimal, 0},
    {"sCapHeight", kDecimal, 0},
    {"usDefaultChar", kHex, 0},
    {"usBreakChar", kHex, 32},
    {"usMaxContext", kDecimal, 0},
    {"usLowerOpticalPointSize", kDecimal, 0},
    {"usUpperOpticalPointSize", kDecimal, 0},
    {"bFamilyType", kDecimal, 2},
    {"bSerifStyle", kDecimal, 11},
    {"bWeight", kDecimal, 6},
    {"bProportion", kDecimal, 9},
    {"bContrast", kDecimal, 7},
    {"bStrokeVariation", kDecimal, 2},
    {"bArmStyle", kDecimal, 5},
    {"bLetterform", kDecimal, 8},
    {"bMidline", kDecimal, 2},
    {"bXHeight", kDecimal, 4},
};

constexpr const auto& kList = core::kFieldList<core::Os2>;
static_assert(std::size(kRules) == kList.size(), "one key per field of the table");

constexpr bool RulesFollowTheList() {
  for (size_t i = 0; i < kList.size(); ++i)
    if (std::string_view(kRules[i].name) != kList[core::kOs2ListOrder[i]].name) return false;
  return true;
}
static_assert(RulesFollowTheList(), "the keys stand in the order of the table's list");

constexpr std::array<Os2Key, kList.size()> MakeKeys() {
  std::array<Os2Key, kList.size()> keys{};
  for (size_t i = 0; i < kList.size(); ++i) {
    const core::FieldInfo* field = &kList[core::kOs2ListOrder[i]];
    keys[i] = Os2Key{field, field->type == core::FieldType::kPanose ? "PANOSE" : "SUMMARY", kRules[i].form,
                     kRules[i].defaultValue};
  }
  return keys;
}
constexpr auto kKeys = MakeKeys();

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::span<const Os2Key> Os2Keys() { return kKeys; }

const Os2Key* Os2KeyNamed(std::string_view name) {
  for (const Os2Key& key : kKeys)
    if (name == key.field->name) return &key;
  return nullptr;
}

std::string VendorText(const uint8_t vendor[4]) {
  std::string text;
  for (int at = 0; at < 4 && vendor[at] != 0; ++at) text.push_back(static_cast<char>(vendor[at]));
  if (text.empty()) return text;
  bool blankAtEnd = IsBlank(text.front()) || IsBlank(text.back());
  bool quotedAlready = text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'');
  if (blankAtEnd || quotedAlready) return "\"" + text + "\"";
  return text;
}

std::string Os2FieldText(const Os2Key& key, const core::Os2Record& record) {
  const core::FieldInfo& field = *key.field;
  const uint32_t bits = static_cast<uint32_t>(core::FieldBits(field, record).value_or(0));
  char text[32];
  switch (key.form) {
    case kDecimal:
      if (field.isSigned())
        std::snprintf(text, sizeof text, "%" PRId32, static_cast<int32_t>(*core::FieldNumber(field, record)));
      else
        std::snprintf(text, sizeof text, "%" PRIu32, bits);
      return text;
    case kHex:
      std::snprintf(text, sizeof text, "0x%" PRIx32, bits);
      return text;
    case kSignedHex:
      std::snprintf(text, sizeof text, "0x%" PRIx32, static_cast<uint32_t>(static_cast<int16_t>(bits)));
      return text;
    case kHex8:
      std::snprintf(text, sizeof text, "0x%08" PRIx32, bits);
      return text;
    case kVendor:
      return VendorText(record.data() + field.offset);
  }
  return std::string();
}

}  // namespace tools
