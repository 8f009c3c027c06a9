#include "macconv/headless/drumlin_headless.h"

#include <cstdio>

#include "macconv/session/menu_commands.h"
#include "shell/chooser.h"
#include "shell/headless.h"

namespace macconv {
namespace {

constexpr shell::HeadlessOption kOptions[] = {
    {"--extract", 2}, {"--extract-all", 2}, {"--cmap", 2}, {"--name", 1}, {"--dump", 2}};

}  // namespace

std::string UsageText(const std::string& programName) {
  return "usage: " + programName + " --extract IN OUT          extract the TrueType font in Mac data IN into OUT\n" +
         "       " + programName + " --extract-all IN FOLDER  write every TrueType font of the Mac data IN into FOLDER\n" +
         "       " + programName + " --cmap IN OUT             convert the Mac cmap table file IN into OUT\n" +
         "       " + programName + " --name IN                 convert the Mac name table file IN into IN.name\n" +
         "       " + programName + " --dump IN OUT.txt         write the Unicode, Shift-JIS and glyph triples of IN\n" +
         "       " + programName + " --help | --version\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& args, shell::MessageSink& messages) {
  const shell::HeadlessCall call = shell::ReadHeadless(kOptions, args);
  if (call.kind == shell::HeadlessCall::Kind::kWindow) return std::nullopt;
  if (call.kind == shell::HeadlessCall::Kind::kHelp) {
    std::fputs(UsageText("drumlin").c_str(), stdout);
    return shell::kExitSuccess;
  }
  if (call.kind == shell::HeadlessCall::Kind::kVersion) {
    std::printf("drumlin %s\n", shell::SuiteVersion());
    return shell::kExitSuccess;
  }
  if (call.kind == shell::HeadlessCall::Kind::kUsage) return shell::kExitUsage;
  for (const std::string& operand : call.operands) {
    if (operand.empty()) return shell::kExitUsage;
  }

  shell::ScriptedChooser chooser(call.operands);
  std::string currentFile;
  const std::string option = call.option->name;
  if (option == "--extract") return shell::ExitStatus(OpenAndExtract(currentFile, chooser, messages));
  if (option == "--extract-all") return shell::ExitStatus(ExtractAllCommand(currentFile, chooser, messages));
  if (option == "--cmap") return shell::ExitStatus(ConvertCmapCommand(currentFile, chooser, messages, nullptr));
  if (option == "--name") return shell::ExitStatus(ConvertNameCommand(currentFile, chooser, messages));
  return shell::ExitStatus(DumpCmapCommand(currentFile, chooser, messages, DumpTarget::kNewFileOnly));
}

}  // namespace macconv
