// The converter's commands as the window runs them, over its current file
// name, with the choosers, messages and progress behind interfaces. The
// headless program runs the same functions with choosers answered from its
// arguments.
#pragma once

#include <optional>
#include <string>

#include "macconv/engine/cmap_dump.h"
#include "macconv/engine/sinks.h"

namespace macconv {

// "&Open TTF and Extract": clears the current file name, asks for the input
// ("Drumlin File Open", nothing proposed) and extracts from it.
shell::Outcome OpenAndExtract(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages);

// A file named on the command line, dropped on the window or handed over by
// a second start: `handedName`, when not empty, becomes the current file
// name; then the current file, when there is one, is extracted.
shell::Outcome ExtractNamedFile(std::string& currentFile, const std::string& handedName, shell::FileChooser& chooser,
                         shell::MessageSink& messages);

// "Extract All Fonts...": clears the current file name, asks for the input
// ("Drumlin File Open", nothing proposed) and for the folder to write into
// ("Drumlin Folder for the Fonts", proposing the input's folder), then writes
// every font of the input there.
shell::Outcome ExtractAllCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages);

// "Convert Mac cmap table to Win": asks for the input ("Drumlin cmap file
// Open", nothing proposed) and the output ("Drumlin cmap file Save",
// proposing the input's name with "New" in front, in its folder), refuses an
// output name that exists ("File exist? : <name>", titled "ERROR") and
// converts.
shell::Outcome ConvertCmapCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages,
                           ProgressSink* progress);

// The questions of "Convert Mac cmap table to Win" without the conversion, for
// a window that runs the conversion on a worker thread: the input and output
// names, or the outcome that ended the command (cancelled, or an output name
// that exists, already reported).
struct CmapCommandNames {
  shell::Outcome ended = shell::Outcome::kDone;  // kDone: the names are set
  std::string input;
  std::string output;
};
CmapCommandNames ChooseCmapNames(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages);

// The name table conversion: asks for the input ("Drumlin File Open",
// proposing the current file) and writes the input name + ".name".
shell::Outcome ConvertNameCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages);

// The diagnostic dump: asks for the cmap table file ("Drumlin File Open",
// proposing the current file) and for the text file to write ("Drumlin File
// Save", proposing "junk.txt" beside the input).
shell::Outcome DumpCmapCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages,
                               DumpTarget target = DumpTarget::kReplaceFreely);

// The commands of the windows (macconv/session/window_commands.h) that are engine
// commands over the current file, run to their end where they are called:
// the extraction of a named file (`handedName`, see ExtractNamedFile), Open
// and Extract, Extract All Fonts, the name conversion and the cmap dump.
// Nothing for any other command: the window carries that out itself.
std::optional<shell::Outcome> RunFileCommand(int command, std::string& currentFile, const std::string& handedName,
                                             shell::FileChooser& chooser, shell::MessageSink& messages);

}  // namespace macconv
