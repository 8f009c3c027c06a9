#include "editor/headless/quillet_headless.h"

#include <cstring>

#include "core/io/readable_file.h"
#include "editor/render/analysis_run.h"
#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "editor/render/font_check.h"
#include "editor/model/font_structure.h"
#include "editor/render/report_json.h"
#include "shell/chooser.h"
#include "shell/headless.h"

namespace editor {
namespace {

constexpr shell::HeadlessOption kOptions[] = {{"--report", 1, true}, {"--json", 1, true}, {"--check", 1, true},
                                              {"--recalc", 2},        {"--export", 3},      {"--add", 4},
                                              {"--delete", 3}};

bool Is(const shell::HeadlessCall& call, const char* option) { return std::string(call.option->name) == option; }

std::string OpenFailure(const std::string& path, const core::ReadableFile& file) {
  const int error = file.error();
  if (error == core::kNotRegularFile) return path + " is not a regular file";
  return path + " cannot be opened: " + std::strerror(error) + " (" + std::to_string(error) + ")";
}

std::string ReadFailure(const std::string& path, const core::ReadableFile& file) {
  return path + " could not be read: " + std::strerror(file.read_error()) + " (" +
         std::to_string(file.read_error()) + ")";
}

int RunJson(const std::vector<std::string>& fonts, std::FILE* out) {
  JsonReport report;
  bool allRead = true;
  for (const std::string& path : fonts) {
    core::ReadableFile file;
    if (!file.Open(path)) {
      report.AddFailure(path, OpenFailure(path, file));
      allRead = false;
      continue;
    }
    FileStructure structure = ReadFileStructure(file);
    if (file.read_error() != 0) {
      report.AddFailure(path, ReadFailure(path, file));
      allRead = false;
      continue;
    }
    report.AddFile(path, file, structure);
  }
  std::fputs(report.Document().c_str(), out);
  return shell::ExitStatus(allRead);
}

// One line per finding, "FONT: error: TEXT" ("FONT: font N: error: TEXT" in a
// collection), and "FONT: no errors" for a clean font.
int RunCheck(const std::vector<std::string>& fonts, std::FILE* out) {
  bool clean = true;
  for (const std::string& path : fonts) {
    core::ReadableFile file;
    if (!file.Open(path)) {
      std::fprintf(out, "%s: error: %s\n", path.c_str(), OpenFailure(path, file).c_str());
      clean = false;
      continue;
    }
    FileStructure structure = ReadFileStructure(file);
    std::vector<CheckFinding> findings = CheckFontFile(file, structure);
    if (file.read_error() != 0) findings.push_back({std::nullopt, ReadFailure(path, file)});
    for (const CheckFinding& finding : findings) {
      if (finding.font)
        std::fprintf(out, "%s: font %u: error: %s\n", path.c_str(), static_cast<unsigned>(*finding.font),
                     finding.text.c_str());
      else
        std::fprintf(out, "%s: error: %s\n", path.c_str(), finding.text.c_str());
    }
    if (findings.empty()) std::fprintf(out, "%s: no errors\n", path.c_str());
    clean = clean && findings.empty();
  }
  return shell::ExitStatus(clean);
}

}  // namespace

const char* HeadlessUsage() {
  return "usage: quillet [FONT]                      open the window (and analyse FONT)\n"
         "       quillet --report [--raw] FONT...    the report of each font\n"
         "       quillet --json FONT...              the report's facts as JSON\n"
         "       quillet --check FONT...             structural checks; exit 1 when one fails\n"
         "       quillet --recalc FONT OUT\n"
         "       quillet --export FONT TAG OUT\n"
         "       quillet --add FONT TAG TABLEFILE OUT\n"
         "       quillet --delete FONT TAG OUT\n"
         "       quillet --help | --version\n";
}

std::optional<int> RunHeadless(const std::vector<std::string>& arguments, const std::string& settingsFolder,
                               std::FILE* out, std::FILE* err, const std::string& libraryName, bool utf8Output) {
  const shell::HeadlessCall call = shell::ReadHeadless(kOptions, arguments);
  if (call.kind == shell::HeadlessCall::Kind::kWindow) return std::nullopt;
  if (call.kind == shell::HeadlessCall::Kind::kHelp) {
    std::fputs(HeadlessUsage(), out);
    return shell::kExitSuccess;
  }
  if (call.kind == shell::HeadlessCall::Kind::kVersion) {
    std::fprintf(out, "quillet %s\n", shell::SuiteVersion());
    return shell::kExitSuccess;
  }
  if (call.kind == shell::HeadlessCall::Kind::kUsage) {
    std::fputs(HeadlessUsage(), err);
    return shell::kExitUsage;
  }
  if (Is(call, "--json")) return RunJson(call.operands, out);
  if (Is(call, "--check")) return RunCheck(call.operands, out);
  std::vector<std::string> fonts = call.operands;
  NameText names = utf8Output ? NameText::kUtf8 : NameText::kShiftJis;
  if (Is(call, "--report") && fonts[0] == "--raw" && call.endOfOptions > 0) {
    names = NameText::kShiftJis;
    fonts.erase(fonts.begin());
    if (fonts.empty()) {
      std::fputs(HeadlessUsage(), err);
      return shell::kExitUsage;
    }
  }
  const std::string& fontPath = fonts[0];
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
  if (Is(call, "--report")) {
    bool all = true;
    for (const std::string& font : fonts) {
      FontAnalysis analysis;
      AnalysisRequest request{font, settingsFolder, libraryName, names};
      // The report's table list is part of its work: a list that could not
      // be written fails the run.
      all = OpenAndAnalyse(request, &analysis, log, messages) && !analysis.tableListFailed && all;
    }
    return shell::ExitStatus(all);
  }
  FontAnalysis analysis;
  AnalysisRequest request{fontPath, settingsFolder, libraryName, names};
  if (!OpenAndAnalyse(request, &analysis, log, messages)) return shell::kExitFailure;

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
