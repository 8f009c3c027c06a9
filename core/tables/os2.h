// The OS/2 and Windows metrics table 'OS/2' in its layouts of versions 0 to
// 5, as one list of fields: offset, width, signedness, the version that
// brought the field, and the section, key, text form and default value under
// which the profile file "Pellout.ini" keeps each field. The list drives the
// report's OS/2 lines, the extract tool and the merge tool alike, so keys,
// offsets and text forms cannot drift apart.
//
// Layout sizes: version 0 ends after usWinDescent (78 bytes), version 1 after
// ulCodePageRange2 (86), versions 2 to 4 after usMaxContext (96), version 5
// after usUpperOpticalPointSize (100). A version above 5 is read with the
// layout of version 5.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace core {

constexpr size_t kOs2RecordSize = 100;   // the largest layout, version 5
constexpr size_t kOs2Version1Size = 86;  // the merge tool's least output
constexpr uint16_t kOs2LatestVersion = 5;
using Os2Record = std::array<uint8_t, kOs2RecordSize>;

enum class Os2TextForm {
  kDecimal,  // "%d"; negative values of signed fields with a '-'
  kHex,      // "0x%x"; a signed field is widened with its sign first
  kHex8,     // "0x%08x"
  kVendor,   // the four bytes as characters, up to the first zero byte
};

struct Os2Field {
  const char* section;    // "SUMMARY" or "PANOSE"
  const char* key;        // the TrueType field name (panose bytes by their names)
  uint8_t offset;         // from the first byte of the table
  uint8_t width;          // 1, 2 or 4 bytes
  uint8_t sinceVersion;   // the first table version that holds the field
  bool isSigned;          // decides the text of negative values
  Os2TextForm form;       // how the extract tool writes the value
  uint32_t defaultValue;  // the merge tool's value for a missing or empty key
};

// Every field in the order of the profile file: the SUMMARY fields of the
// 86-byte layout in table order with achVendID after them, then the fields
// of versions 2 to 5 in table order, then the ten PANOSE bytes.
std::span<const Os2Field> Os2Fields();

// The version whose layout a table of `version` is read with (above 5: 5).
inline uint16_t Os2LayoutVersion(uint16_t version) {
  return version < kOs2LatestVersion ? version : kOs2LatestVersion;
}
// Whether a table of `version` defines the field.
inline bool Os2FieldInVersion(const Os2Field& field, uint16_t version) {
  return field.sinceVersion <= Os2LayoutVersion(version);
}
// The bytes that the fields of `version` cover: 78, 86, 96 or 100.
size_t Os2LayoutSize(uint16_t version);

// The field of that TrueType name (case counts); every name used in the
// suite exists, so a wrong name is a programming error caught by the tests.
const Os2Field& Os2FieldNamed(std::string_view key);

// The field's value in the record, as an unsigned bit pattern.
uint32_t Os2FieldBits(const Os2Field& field, const Os2Record& record);
inline uint32_t Os2FieldBits(std::string_view key, const Os2Record& record) {
  return Os2FieldBits(Os2FieldNamed(key), record);
}
// A signed 16-bit field widened with its sign.
inline int32_t Os2FieldSigned16(std::string_view key, const Os2Record& record) {
  return static_cast<int16_t>(Os2FieldBits(key, record));
}
// The field's bytes as they stand in the record (achVendID).
std::span<const uint8_t> Os2FieldBytes(const Os2Field& field, const Os2Record& record);

// Stores the low bits of `value` that fit the field, big-endian.
void StoreOs2FieldBits(const Os2Field& field, uint32_t value, Os2Record* record);
// Stores bytes into the field, at most its width; the rest stays as it was.
void StoreOs2FieldBytes(const Os2Field& field, std::span<const uint8_t> bytes, Os2Record* record);

}  // namespace core
