// The OS/2 table (version-1 layout, 86 bytes, big-endian) as the profile file
// "Pellout.ini" holds it: one list of fields that drives both the extract
// tool and the merge tool, so that keys, offsets and text forms cannot drift
// apart.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tools {

constexpr size_t kOs2RecordSize = 86;
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
  bool isSigned;          // decides the text of negative values
  Os2TextForm form;       // how the extract tool writes the value
  uint32_t defaultValue;  // the merge tool's value for a missing or empty key
};

// Every field in the order of the profile file: the SUMMARY fields in table
// order with achVendID last, then the ten PANOSE bytes.
std::span<const Os2Field> Os2Fields();

// The field's value in the record, as an unsigned bit pattern.
uint32_t Os2FieldBits(const Os2Field& field, const Os2Record& record);
// Stores the low bits of `value` that fit the field, big-endian.
void StoreOs2FieldBits(const Os2Field& field, uint32_t value, Os2Record* record);

}  // namespace tools
