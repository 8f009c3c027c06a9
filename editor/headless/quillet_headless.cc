#include "editor/headless/quillet_headless.h"

#include "editor/analysis_run.h"
#include "editor/choosers.h"
#include "editor/commands.h"
#include "shell/chooser.h"
#include "shell/headless.h"

namespace editor {
namespace {

constexpr shell::HeadlessOption kOptions[] = {
    {"--report", 1}, {"--recalc", 2}, {"--export", 3}, {"--add", 4}, {"--delete", 3}};

bool Is(const shell::HeadlessCall& call, const char* option) { return std::string(call.option->name) == option; }

}  // namespace

const char* HeadlessUsage() {
  return "usage: quillet --report FONT\n"
         "       quillet --recalc FONT OUT\n"
         "       quillet --export FONT TAG OUT\n"
         "       quillet --add FONT TAG TABLEFILE OUT\n"
         "       quillet --delete FONT TAG OUT\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, const std::string& settingsFolder,
                               std::FILE* out, std::FILE* err, const std::string& libraryName) {
  const shell::HeadlessCall call = shell::ReadHeadless(kOptions, arguments);
  if (call.kind == shell::HeadlessCall::Kind::kWindow) return std::nullopt;
  if (call.kind == shell::HeadlessCall::Kind::kUsage) {
    std::fputs(HeadlessUsage(), err);
    return shell::kExitUsage;
  }
  const std::string& fontPath = call.operands[0];
  std::string tag;
  if (Is(call, "--export") || Is(call, "--add") || Is(call, "--delete")) {
    const std::string& typed = call.operands[1];
    if (typed.empty() || typed.size() > 4) {
      std::fprintf(err, "quillet: a table tag has 1 to 4 characters, not \"%s\"\n", typed.c_str());
      return shell::kExitUsage;
    }
    tag = PaddedTag(typed);
  }

  shell::StreamLog log(out);
  shell::StreamMessages messages(err);
  FontAnalysis analysis;
  AnalysisRequest request{fontPath, settingsFolder, libraryName};
  if (!OpenAndAnalyse(request, &analysis, log, messages)) return shell::kExitFailure;
  if (Is(call, "--report")) return shell::kExitSuccess;

  shell::ScriptedChooser chooser({call.operands.back()});
  if (Is(call, "--recalc")) return shell::ExitStatus(RecalcCommand(&analysis, fontPath, chooser, log));
  if (Is(call, "--add")) {
    AddTableRequest add{call.operands[1], call.operands[2], ListedTableCount(analysis)};
    return shell::ExitStatus(AddTableCommand(analysis, add, chooser, log, messages).end);
  }
  // Export and delete pick their tag from the table list this analysis wrote;
  // Quillet.ini is not read back, since another run may have rewritten it.
  if (CountListedTag(analysis, tag) == 0) {
    log.Finish();
    std::fprintf(err, "quillet: the table list of %s holds no table \"%s\"\n", fontPath.c_str(), tag.c_str());
    return shell::kExitFailure;
  }
  if (Is(call, "--export"))
    return shell::ExitStatus(ExportTableCommand(analysis, tag, chooser, log, messages).end);
  return shell::ExitStatus(DeleteTableCommand(analysis, ListedTableCount(analysis), tag, chooser, log, messages).end);
}

}  // namespace editor
