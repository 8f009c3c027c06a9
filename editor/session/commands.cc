#include "editor/session/commands.h"

#include <cerrno>
#include <span>

#include "core/io/readable_file.h"
#include "editor/session/choosers.h"
#include "editor/edit/delete_table.h"
#include "editor/edit/export_table.h"
#include "editor/edit/font_rewrite.h"
#include "editor/edit/recalc.h"
#include "editor/render/text_block.h"
#include "platform/output_file.h"

namespace editor {

bool IsGatedByReady(MenuCommand command) {
  return command == MenuCommand::kAddTable || command == MenuCommand::kExportTable ||
         command == MenuCommand::kDeleteTable;
}

bool PassesGate(MenuCommand command, bool ready, shell::LogSink& log) {
  if (!IsGatedByReady(command) || ready) return true;
  log.Append(kOpenFirstLine);
  return false;
}

std::string BusyLine(const std::string& fontPath) {
  return "The analysis of " + fontPath + " is still under way. Try again after \"Ready\".\r\n--\r\n";
}

std::string Banner() {
  return "Quillet Version 1.1\r\n"
         "  The table editor of the Marlowby font tools\r\n"
         "  Reports, repairs, exports, adds and deletes TrueType tables\r\n"
         "  Help and source: the README that comes with the tools\r\n"
         "  Mail: fonttools@marlowby.example\r\n"
         "--\r\n";
}

bool RecalcCommand(const FontAnalysis* analysis, const std::string& fontPath, shell::FileChooser& chooser, shell::LogSink& log) {
  std::optional<std::string> output = chooser.Choose(SaveChooserRequest(fontPath, ""));
  if (!output) {
    log.Append(FormatBlock("Failed in opening TrueType Font \"%s\".\r\n--\r\n", fontPath.c_str()));
    return false;
  }
  log.Append(FormatBlock("Recalculating TrueType Font %s check sum...\r\n", output->c_str()));
  return RecalcCheckSum(analysis, *output, log);
}

shell::Outcome SaveReportCommand(const std::string& report, const std::string& fontPath, shell::FileChooser& chooser,
                                 shell::LogSink& log, shell::MessageSink& messages) {
  if (report.empty()) {
    messages.Show(shell::Message{"Information", "There is no report to save. Open a font first."});
    return shell::Outcome::kFailed;
  }
  std::optional<std::string> output = chooser.Choose(ReportChooserRequest(fontPath));
  if (!output) return shell::Outcome::kCancelled;
  int error = 0;
  const auto* bytes = reinterpret_cast<const uint8_t*>(report.data());
  if (!platform::WriteNewFile(*output, std::span(bytes, report.size()), &error)) {
    messages.Show(shell::Message{"ERROR",
                                 FormatBlock("The report could not be written to %s.%s", output->c_str(),
                                             error == EEXIST ? " File exist?" : ""),
                                 core::ErrorReason(error)});
    return shell::Outcome::kFailed;
  }
  log.Append(FormatBlock("Saved the report of %s to %s (%zu bytes).\r\n--\r\n", fontPath.c_str(), output->c_str(),
                         report.size()));
  return shell::Outcome::kDone;
}

namespace {

// A Table Name of nothing but blanks would add a tag of four spaces.
bool IsBlankTag(const std::string& typed) { return TypedTag(typed).find_first_not_of(' ') == std::string::npos; }

}  // namespace

shell::CommandOutcome AddTableCommand(const FontAnalysis& font, const AddTableRequest& request, shell::FileChooser& chooser,
                               shell::LogSink& log, shell::MessageSink& messages) {
  if (RefusedAsCollection(font, "added to", log)) return {};
  if (IsBlankTag(request.tag)) {
    messages.Show(shell::Message{"Error", "Type a Table Name of one to four characters."});
    return shell::CommandOutcome{shell::Outcome::kFailed, shell::DialogStep::kStayOpen};
  }
  core::ReadableFile tableFile;
  if (!tableFile.Open(request.tableFilePath)) {
    messages.Show(shell::Message{"ERROR", FormatBlock("Function CreateFile(%s) has an error %d.%s",
                                               request.tableFilePath.c_str(), tableFile.error(),
                                               core::OpenErrorNote(tableFile.error())),
                                  core::ErrorReason(tableFile.error())});
    return shell::CommandOutcome{shell::Outcome::kFailed, shell::DialogStep::kStayOpen};
  }
  std::optional<std::string> output = chooser.Choose(SaveChooserRequest(font.fontPath, ""));
  if (!output) {
    log.Append(FormatBlock("Failed in adding %s table. File exist?\r\n--\r\n", TypedTag(request.tag).c_str()));
    return {shell::Outcome::kCancelled};
  }
  return AddTable(font, request, tableFile, *output, log, messages);
}

shell::CommandOutcome ExportTableCommand(const FontAnalysis& font, const std::optional<std::string>& selectedTag,
                                  shell::FileChooser& chooser, shell::LogSink& log, shell::MessageSink& messages) {
  if (!selectedTag) {
    messages.Show(shell::Message{"Information", "No table is selected."});
    return {};
  }
  std::optional<std::string> output = chooser.Choose(SaveChooserRequest(font.fontPath, ExportSuffix(*selectedTag)));
  if (!output) {
    log.Append(FormatBlock("Failed in exporting %s table.\r\n--\r\n", selectedTag->c_str()));
    return {shell::Outcome::kCancelled};
  }
  return ExportTable(font, *selectedTag, *output, log);
}

shell::CommandOutcome DeleteTableCommand(const FontAnalysis& font, uint32_t tableCount,
                                  const std::optional<std::string>& selectedTag, shell::FileChooser& chooser, shell::LogSink& log,
                                  shell::MessageSink& messages) {
  if (RefusedAsCollection(font, "deleted from", log)) return {};
  if (!selectedTag) {
    messages.Show(shell::Message{"Information", "No table is selected."});
    return {};
  }
  std::optional<std::string> output = chooser.Choose(SaveChooserRequest(font.fontPath, ""));
  if (!output) {
    log.Append(FormatBlock("Failed in delete %s table. File exist?\r\n--\r\n", selectedTag->c_str()));
    return {shell::Outcome::kCancelled};
  }
  return DeleteTable(font, DeleteTableRequest{*selectedTag, tableCount}, *output, log, messages);
}

}  // namespace editor
