// The editor's three file choosers as plain data: their titles, filter
// lists and default suffixes, and the proposed "New" name of the save
// chooser.
#pragma once

#include <string>

#include "shell/chooser.h"
#include "shell/sinks.h"

namespace editor {

inline constexpr const char* kFontFilter = "TrueType Font (*.ttf)|*.ttf|TrueType Comp (*.ttc)|*.ttc|All Files (*.*)|*.*|";
inline constexpr const char* kTableFileFilter = "All Files (*.*)|*.*|";
inline constexpr const char* kSaveFilter = "All Files (*.*)|*.*|TrueType Font (*.ttf)|*.ttf|TrueType Comp (*.ttc)|*.ttc|";
inline constexpr const char* kReportFilter = "Text (*.txt)|*.txt|All Files (*.*)|*.*|";

// The proposed name of the save chooser: "New" in front of the source's
// file name, in its folder, and "." and the suffix when there is one.
std::string ProposedSaveName(const std::string& sourcePath, const std::string& suffix);

// Each chooser keeps its own custom filter.
enum class ChooserKind { kFontFile, kTableFile, kSaveFile, kReportFile };

// What each chooser is asked.
shell::ChooserRequest FontChooserRequest();
shell::ChooserRequest TableFileChooserRequest();
shell::ChooserRequest SaveChooserRequest(const std::string& sourcePath, const std::string& suffix);
// "Save Report...": the font's own name with ".txt" behind it, beside it.
shell::ChooserRequest ReportChooserRequest(const std::string& fontPath);

}  // namespace editor
