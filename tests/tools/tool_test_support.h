// Helpers for the console tool tests: tables cut out of installed fonts,
// runs of the conversion functions in a temporary folder, and runs of the
// real programs copied into a folder of their own.
#pragma once

#include <string>
#include <vector>

#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"
#include "tools/frame/console.h"
#include "tools/frame/tool_frame.h"

namespace tooltest {

using testsupport::Bytes;

// IPA Gothic and DejaVu Sans, as installed from the Debian packages.
constexpr const char* kIpaGothic = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// The bytes of one table of a single font, found through its directory;
// empty when the font or the table is absent.
Bytes TableOfFont(const std::string& fontPath, const std::string& tag);

struct ToolRun {
  int status = 0;
  std::string out;
};
using ToolMain = int (*)(const std::vector<std::string>&, const tools::ToolPlace&, tools::Console&);

// Runs a tool's conversion with the folder as both tool folder and work folder.
ToolRun RunIn(ToolMain tool, const testsupport::TempDir& dir, const std::vector<std::string>& args);

// Copies the built program `tool` into `toolFolder` (so its settings file
// lands there) and runs it from `workFolder` with `arguments`.
testsupport::CommandResult RunProgram(const std::string& tool, const std::string& toolFolder,
                                      const std::string& workFolder, const std::string& arguments);

std::string Hex(const Bytes& bytes);

// Reads two name table files with fontTools and compares every record's
// identifiers and string bytes: "same N" for N equal records, else what
// differs (or why it could not be read).
std::string NameListing(const std::string& original, const std::string& rebuilt);

}  // namespace tooltest
