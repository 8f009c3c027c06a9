#include "editor/session/choosers.h"

namespace editor {

std::string ProposedSaveName(const std::string& sourcePath, const std::string& suffix) {
  std::string name = shell::NewNameBeside(sourcePath);
  if (!suffix.empty()) name += "." + suffix;
  return name;
}

shell::ChooserRequest FontChooserRequest() {
  shell::ChooserRequest request;
  request.memory = static_cast<int>(ChooserKind::kFontFile);
  request.title = "Quillet File Open";
  request.filterList = kFontFilter;
  request.defaultSuffix = "ttf";
  return request;
}

shell::ChooserRequest TableFileChooserRequest() {
  shell::ChooserRequest request;
  request.memory = static_cast<int>(ChooserKind::kTableFile);
  request.title = "Quillet Open a table file to be added.";
  request.filterList = kTableFileFilter;
  return request;
}

shell::ChooserRequest SaveChooserRequest(const std::string& sourcePath, const std::string& suffix) {
  shell::ChooserRequest request;
  request.memory = static_cast<int>(ChooserKind::kSaveFile);
  request.title = "Quillet File Save";
  request.filterList = kSaveFilter;
  request.proposedName = ProposedSaveName(sourcePath, suffix);
  request.defaultSuffix = "ttf";
  request.saving = true;
  return request;
}

shell::ChooserRequest ReportChooserRequest(const std::string& fontPath) {
  shell::ChooserRequest request;
  request.memory = static_cast<int>(ChooserKind::kReportFile);
  request.title = "Quillet Save Report";
  request.filterList = kReportFilter;
  request.proposedName = fontPath.empty() ? "report.txt" : fontPath + ".txt";
  request.defaultSuffix = "txt";
  request.saving = true;
  return request;
}

}  // namespace editor
