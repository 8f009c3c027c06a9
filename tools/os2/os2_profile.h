// How the profile file "Pellout.ini" keeps an OS/2 table: one key per field
// of the table's field list, in the list's order, the PANOSE bytes in the
// section PANOSE and every other field in SUMMARY, each with the text form
// the extract tool writes and the value the merge tool takes for a missing
// or empty key.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/tables/fields.h"
#include "core/tables/os2.h"

namespace tools {

enum class Os2TextForm {
  kDecimal,    // "%d" for signed fields, "%u" for the others
  kHex,        // "0x%x"
  kSignedHex,  // "0x%x" of the 16 bits widened with their sign (fsType 0x8004 is 0xffff8004)
  kHex8,       // "0x%08x"
  kVendor,     // the four bytes as characters, up to the first zero byte
};

struct Os2Key {
  const core::FieldInfo* field;  // the key is the field's name
  const char* section;           // "SUMMARY" or "PANOSE"
  Os2TextForm form;
  uint32_t defaultValue;
};

// Every key in the order of the profile file.
std::span<const Os2Key> Os2Keys();
// The key of the field of that name (case counts), or null.
const Os2Key* Os2KeyNamed(std::string_view name);

// The value text of one field of `record`, in the key's text form.
std::string Os2FieldText(const Os2Key& key, const core::Os2Record& record);

// The vendor ID's text: its bytes up to the first zero byte, within double
// quotes when the profile rules would otherwise change it on reading (blanks
// at either end, or a pair of quotes around it).
std::string VendorText(const uint8_t vendor[4]);

}  // namespace tools
