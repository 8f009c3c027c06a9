#include "tests/tools/tool_test_support.h"

#include <cstdio>
#include <filesystem>

#include "core/io/readable_file.h"
#include "core/sfnt/sfnt_records.h"

namespace tooltest {

Bytes TableOfFont(const std::string& fontPath, const std::string& tag) {
  core::ReadableFile font;
  if (!font.Open(fontPath)) return {};
  core::OffsetTable offsets = core::ReadOffsetTable(font, 0);
  for (const core::TableDirEntry& entry : core::ReadTableDirectory(font, 0, offsets.numTables)) {
    if (std::string(entry.tag.begin(), entry.tag.end()) == tag) return font.ReadRange(entry.offset, entry.length);
  }
  return {};
}

ToolRun RunIn(ToolMain tool, const testsupport::TempDir& dir, const std::vector<std::string>& args) {
  tools::TextConsole console;
  ToolRun run;
  run.status = tool(args, tools::ToolPlace{dir.path(), dir.path()}, console);
  run.out = console.text();
  return run;
}

testsupport::CommandResult RunProgram(const std::string& tool, const std::string& toolFolder,
                                      const std::string& workFolder, const std::string& arguments) {
  std::string program = toolFolder + "/" + testsupport::ProgramFile(tool);
  if (!testsupport::Exists(program))
    std::filesystem::copy_file(testsupport::BinFolder() + "/" + testsupport::ProgramFile(tool), program);
  return testsupport::RunCommand("cd '" + workFolder + "' && '" + program + "' " + arguments);
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char pair[4];
  for (uint8_t b : bytes) {
    std::snprintf(pair, sizeof pair, text.empty() ? "%02X" : " %02X", b);
    text += pair;
  }
  return text;
}

std::string NameListing(const std::string& original, const std::string& rebuilt) {
  testsupport::TempDir dir;
  testsupport::WriteText(dir.File("listing.py"), R"(import sys
from fontTools.ttLib.tables._n_a_m_e import table__n_a_m_e

def records(path):
    table = table__n_a_m_e()
    table.decompile(open(path, 'rb').read(), None)
    return [(n.platformID, n.platEncID, n.langID, n.nameID, bytes(n.string).hex(),
             n.toUnicode() if n.isUnicode() else '') for n in table.names]

a, b = records(sys.argv[1]), records(sys.argv[2])
print('same %d' % len(a) if a == b and a else 'differ %r %r' % (a[:3], b[:3]))
)");
  testsupport::CommandResult result = testsupport::RunCommand(
      testsupport::FontToolsPython() + " '" + dir.File("listing.py") + "' '" + original + "' '" + rebuilt + "'");
  return result.out + result.err;
}

}  // namespace tooltest
