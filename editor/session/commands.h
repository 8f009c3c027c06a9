// The editor's commands as the window's session dispatches them (the menu
// and its command numbers are editor/session/menu.h): the gate that holds the
// editing commands back until a font has been analysed, the line that
// refuses a command while a run is under way, the banner, and the command
// bodies that run once their dialog's choices are made (the choosers are
// asked through an interface).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor/edit/add_table.h"
#include "editor/session/menu.h"
#include "shell/outcome.h"
#include "editor/model/font_analysis.h"
#include "shell/chooser.h"
#include "shell/sinks.h"

namespace editor {

inline constexpr const char* kOpenFirstLine = "Open a ttf first.\r\n--\r\n";

// Add, Export and Delete wait for the ready flag; every other command does not.
bool IsGatedByReady(MenuCommand command);

// True when the command may go ahead; otherwise logs "Open a ttf first.".
bool PassesGate(MenuCommand command, bool ready, shell::LogSink& log);

// The line that refuses a command while a run is under way.
std::string BusyLine(const std::string& fontPath);

// The banner at the top of the log and behind "About...".
std::string Banner();

// "Recalc check sum": asks the save chooser (seeded with the open font's
// path, empty when none) and recalculates into the chosen file.
bool RecalcCommand(const FontAnalysis* analysis, const std::string& fontPath, shell::FileChooser& chooser, shell::LogSink& log);

// The editing commands work on the open font as `font`, its analysis, says
// it is: the dialog's choices (the tag picked from the table list, and for
// add and delete the list's count when the dialog opened) are checked
// against its directory, and a table's place is taken from there.

// File > "Save Report...": asks for a new file (proposed beside the font) and
// writes `report`, the whole text of the last analysis as the run wrote it,
// however much of it the log has let go. Logs the file written; a failure
// shows a message with the system's reason and leaves no file.
shell::Outcome SaveReportCommand(const std::string& report, const std::string& fontPath, shell::FileChooser& chooser,
                                 shell::LogSink& log, shell::MessageSink& messages);

// "OK" of the add dialog: a collection is refused and an empty Table Name
// kept back before anything is asked.
shell::CommandOutcome AddTableCommand(const FontAnalysis& font, const AddTableRequest& request, shell::FileChooser& chooser,
                               shell::LogSink& log, shell::MessageSink& messages);

// "OK" of the export dialog; no selection shows "No table is selected.".
shell::CommandOutcome ExportTableCommand(const FontAnalysis& font, const std::optional<std::string>& selectedTag,
                                  shell::FileChooser& chooser, shell::LogSink& log, shell::MessageSink& messages);

// "OK" of the delete dialog; tableCount is the list's count when it opened.
// A collection is refused before the output name is asked.
shell::CommandOutcome DeleteTableCommand(const FontAnalysis& font, uint32_t tableCount,
                                  const std::optional<std::string>& selectedTag, shell::FileChooser& chooser, shell::LogSink& log,
                                  shell::MessageSink& messages);

}  // namespace editor
