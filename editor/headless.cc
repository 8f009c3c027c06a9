#include "editor/headless.h"

#include "editor/analysis_run.h"
#include "editor/choosers.h"
#include "editor/commands.h"
#include "editor/headless_output.h"

namespace editor {
namespace {

struct Option {
  const char* name;
  size_t operands;
};
constexpr Option kOptions[] = {{"--report", 1}, {"--recalc", 2}, {"--export", 3}, {"--add", 4}, {"--delete", 3}};

const Option* FindOption(const std::string& argument) {
  for (const Option& option : kOptions)
    if (argument == option.name) return &option;
  return nullptr;
}

int Usage(std::FILE* err) {
  std::fputs(HeadlessUsage(), err);
  return kExitUsage;
}

int ExitFor(bool done) { return done ? kExitSuccess : kExitFailure; }

}  // namespace

bool IsHeadlessOption(const std::string& argument) { return FindOption(argument) != nullptr; }

const char* HeadlessUsage() {
  return "usage: quillet --report FONT\n"
         "       quillet --recalc FONT OUT\n"
         "       quillet --export FONT TAG OUT\n"
         "       quillet --add FONT TAG TABLEFILE OUT\n"
         "       quillet --delete FONT TAG OUT\n";
}

int RunHeadless(const std::vector<std::string>& arguments, const std::string& settingsFolder, std::FILE* out,
                std::FILE* err, const std::string& libraryName) {
  if (arguments.empty()) return Usage(err);
  const Option* option = FindOption(arguments[0]);
  if (!option || arguments.size() != option->operands + 1) return Usage(err);
  std::string command = option->name;
  const std::string& fontPath = arguments[1];
  std::string tag;
  if (command == "--export" || command == "--add" || command == "--delete") {
    if (arguments[2].empty() || arguments[2].size() > 4) {
      std::fprintf(err, "quillet: a table tag has 1 to 4 characters, not \"%s\"\n", arguments[2].c_str());
      return kExitUsage;
    }
    tag = PaddedTag(arguments[2]);
  }

  StreamLog log(out);
  StreamMessages messages(err);
  FontAnalysis analysis;
  AnalysisRequest request{fontPath, settingsFolder, libraryName};
  if (!OpenAndAnalyse(request, &analysis, log, messages)) return kExitFailure;
  if (command == "--report") return kExitSuccess;

  AnsweringChooser chooser(arguments.back());
  if (command == "--recalc") return ExitFor(RecalcCommand(&analysis, fontPath, chooser, log));
  if (command == "--add") {
    AddTableRequest add{arguments[2], arguments[3], ListedTableCount(analysis)};
    return ExitFor(AddTableCommand(analysis, add, chooser, log, messages).written);
  }
  // Export and delete pick their tag from the table list this analysis wrote;
  // Quillet.ini is not read back, since another run may have rewritten it.
  if (CountListedTag(analysis, tag) == 0) {
    log.Finish();
    std::fprintf(err, "quillet: the table list of %s holds no table \"%s\"\n", fontPath.c_str(), tag.c_str());
    return kExitFailure;
  }
  if (command == "--export")
    return ExitFor(ExportTableCommand(analysis, tag, chooser, log, messages).written);
  return ExitFor(DeleteTableCommand(analysis, ListedTableCount(analysis), tag, chooser, log, messages).written);
}

}  // namespace editor
