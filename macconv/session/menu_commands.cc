#include "macconv/session/menu_commands.h"

#include <optional>

#include "macconv/engine/cmap_dump.h"
#include "macconv/engine/cmap_file_conversion.h"
#include "macconv/engine/extraction.h"
#include "macconv/engine/message_text.h"
#include "macconv/engine/name_conversion.h"
#include "macconv/session/window_commands.h"
#include "platform/output_file.h"
#include "platform/paths.h"

namespace macconv {
namespace {

// Asks for a file; the answer becomes the current file name (empty when the
// chooser is cancelled).
bool ChooseCurrentFile(std::string& currentFile, shell::FileChooser& chooser, const std::string& title,
                       const std::string& proposed) {
  std::optional<std::string> chosen = chooser.Choose(OpenRequest(title, proposed));
  currentFile = chosen ? *chosen : std::string();
  return !currentFile.empty();
}

}  // namespace

shell::Outcome OpenAndExtract(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages) {
  currentFile.clear();
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", "")) return shell::Outcome::kCancelled;
  return ExtractTrueType(currentFile, chooser, messages);
}

shell::Outcome ExtractNamedFile(std::string& currentFile, const std::string& handedName, shell::FileChooser& chooser,
                         shell::MessageSink& messages) {
  if (!handedName.empty()) currentFile = handedName;
  if (currentFile.empty()) return shell::Outcome::kCancelled;
  return ExtractTrueType(currentFile, chooser, messages);
}

shell::Outcome ExtractAllCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages) {
  currentFile.clear();
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", "")) return shell::Outcome::kCancelled;
  std::optional<std::string> folder = chooser.Choose(FolderRequest("Drumlin Folder for the Fonts", platform::FolderOf(currentFile)));
  if (!folder || folder->empty()) return shell::Outcome::kCancelled;
  return ExtractAllFonts(currentFile, *folder, messages);
}

CmapCommandNames ChooseCmapNames(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages) {
  CmapCommandNames names;
  currentFile.clear();
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin cmap file Open", "")) {
    names.ended = shell::Outcome::kCancelled;
    return names;
  }
  std::optional<std::string> outputName = chooser.Choose(SaveRequest("Drumlin cmap file Save", shell::NewNameBeside(currentFile)));
  if (!outputName || outputName->empty()) {
    names.ended = shell::Outcome::kCancelled;
    return names;
  }
  if (platform::FileExists(*outputName)) {
    messages.Show({"ERROR", FileExistText(*outputName)});
    names.ended = shell::Outcome::kFailed;
    return names;
  }
  names.input = currentFile;
  names.output = *outputName;
  return names;
}

shell::Outcome ConvertCmapCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages,
                           ProgressSink* progress) {
  CmapCommandNames names = ChooseCmapNames(currentFile, chooser, messages);
  if (names.ended != shell::Outcome::kDone) return names.ended;
  return ConvertCmapFile(names.input, names.output, messages, progress);
}

shell::Outcome ConvertNameCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages) {
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", currentFile)) return shell::Outcome::kCancelled;
  return ConvertNameTable(currentFile, messages);
}

shell::Outcome DumpCmapCommand(std::string& currentFile, shell::FileChooser& chooser, shell::MessageSink& messages,
                               DumpTarget target) {
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", currentFile)) return shell::Outcome::kCancelled;
  std::optional<std::string> outputName = chooser.Choose(SaveRequest("Drumlin File Save", shell::NameBeside(currentFile, "junk.txt")));
  if (!outputName || outputName->empty()) return shell::Outcome::kCancelled;
  return DumpCmapMapping(currentFile, *outputName, target, messages);
}

std::optional<shell::Outcome> RunFileCommand(int command, std::string& currentFile, const std::string& handedName,
                                             shell::FileChooser& chooser, shell::MessageSink& messages) {
  switch (command) {
    case drumlin::kExtractNamedFile:
      return ExtractNamedFile(currentFile, handedName, chooser, messages);
    case drumlin::kOpenAndExtract:
      return OpenAndExtract(currentFile, chooser, messages);
    case drumlin::kExtractAllFonts:
      return ExtractAllCommand(currentFile, chooser, messages);
    case drumlin::kConvertName:
      return ConvertNameCommand(currentFile, chooser, messages);
    case drumlin::kDumpCmap:
      return DumpCmapCommand(currentFile, chooser, messages);
    default:
      return std::nullopt;
  }
}

}  // namespace macconv
