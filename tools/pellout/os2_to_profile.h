// pellout: an OS/2 table file to the profile file "Pellout.ini", one entry
// per field.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "tools/frame/console.h"
#include "core/tables/os2.h"
#include "tools/frame/tool_frame.h"
#include "tools/os2/os2_profile.h"

namespace tools {

constexpr const char* kPelloutProfileName = "Pellout.ini";

// The fields that a table of `size` bytes gets into the profile file: those
// of the 86-byte layout and those its version adds, as far as the table
// holds them whole. *missing gets the fields that the version defines but
// the table does not hold. Both in profile order.
struct Os2FieldsHeld {
  std::vector<const Os2Key*> held;
  std::vector<const Os2Key*> missing;
};
Os2FieldsHeld FieldsHeld(uint16_t version, size_t size);

// Sets SUMMARY/FileName and the held fields; a key that the profile file
// holds for a field that is not held is emptied, so that the merge tool
// never takes an earlier table's value for it.
void PutOs2Profile(const core::Os2Record& record, const Os2FieldsHeld& fields, const std::string& tableFileName,
                   platform::Profile* profile);

// One run: args[0] is the program, args[1] the table file. Returns the exit
// status (1 or -1).
int RunPellout(const std::vector<std::string>& args, const ToolPlace& place, Console& console);

}  // namespace tools
