#include "macconv/headless.h"

#include "macconv/menu_commands.h"

namespace macconv {
namespace {

struct HeadlessCommand {
  const char* option;
  size_t arguments;  // file names after the option
};

constexpr HeadlessCommand kCommands[] = {
    {"--extract", 2},
    {"--cmap", 2},
    {"--name", 1},
    {"--dump", 2},
};

int ExitStatus(Outcome outcome) { return outcome == Outcome::kDone ? 0 : 1; }

}  // namespace

std::optional<std::string> ScriptedChooser::ChooseFile(const std::string& title, const std::string& proposed) {
  requests_.push_back({title, proposed});
  if (next_ >= answers_.size()) return std::nullopt;
  return answers_[next_++];
}

void StreamMessages::Show(const std::string& caption, const std::string& text) {
  std::fprintf(out_, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(out_);
}

std::string UsageText(const std::string& programName) {
  return "usage: " + programName + " --extract IN OUT    extract the TrueType font in Mac data IN into OUT\n" +
         "       " + programName + " --cmap IN OUT       convert the Mac cmap table file IN into OUT\n" +
         "       " + programName + " --name IN           convert the Mac name table file IN into IN.name\n" +
         "       " + programName + " --dump IN OUT.txt   write the Unicode, Shift-JIS and glyph triples of IN\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& args, MessageSink& messages) {
  if (args.empty()) return std::nullopt;
  const HeadlessCommand* command = nullptr;
  for (const HeadlessCommand& candidate : kCommands) {
    if (args[0] == candidate.option) command = &candidate;
  }
  if (!command) return args[0].rfind("--", 0) == 0 ? std::optional<int>(2) : std::nullopt;
  if (args.size() != command->arguments + 1) return 2;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i].empty()) return 2;
  }

  ScriptedChooser chooser(std::vector<std::string>(args.begin() + 1, args.end()));
  std::string currentFile;
  const std::string option = command->option;
  if (option == "--extract") return ExitStatus(OpenAndExtract(currentFile, chooser, messages));
  if (option == "--cmap") return ExitStatus(ConvertCmapCommand(currentFile, chooser, messages, nullptr));
  if (option == "--name") return ExitStatus(ConvertNameCommand(currentFile, chooser, messages));
  return ExitStatus(DumpCmapCommand(currentFile, chooser, messages));
}

}  // namespace macconv
