#include "macconv/menu_commands.h"

#include <optional>

#include "macconv/cmap_dump.h"
#include "macconv/cmap_file_conversion.h"
#include "macconv/extraction.h"
#include "macconv/message_text.h"
#include "macconv/name_conversion.h"
#include "platform/output_file.h"

namespace macconv {
namespace {

// Asks for a file; the answer becomes the current file name (empty when the
// chooser is cancelled).
bool ChooseCurrentFile(std::string& currentFile, FileChooser& chooser, const std::string& title,
                       const std::string& proposed) {
  std::optional<std::string> chosen = chooser.ChooseFile(title, proposed);
  currentFile = chosen ? *chosen : std::string();
  return !currentFile.empty();
}

size_t NameStart(const std::string& path) {
  size_t cut = path.rfind('/');
  return cut == std::string::npos ? 0 : cut + 1;
}

}  // namespace

std::string ProposeNewName(const std::string& inputName) {
  size_t start = NameStart(inputName);
  return inputName.substr(0, start) + "New" + inputName.substr(start);
}

std::string ProposeBeside(const std::string& inputName, const std::string& name) {
  return inputName.substr(0, NameStart(inputName)) + name;
}

Outcome OpenAndExtract(std::string& currentFile, FileChooser& chooser, MessageSink& messages) {
  currentFile.clear();
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", "")) return Outcome::kCancelled;
  return ExtractTrueType(currentFile, chooser, messages);
}

Outcome ExtractNamedFile(std::string& currentFile, const std::string& handedName, FileChooser& chooser,
                         MessageSink& messages) {
  if (!handedName.empty()) currentFile = handedName;
  if (currentFile.empty()) return Outcome::kCancelled;
  return ExtractTrueType(currentFile, chooser, messages);
}

CmapCommandNames ChooseCmapNames(std::string& currentFile, FileChooser& chooser, MessageSink& messages) {
  CmapCommandNames names;
  currentFile.clear();
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin cmap file Open", "")) {
    names.ended = Outcome::kCancelled;
    return names;
  }
  std::optional<std::string> outputName = chooser.ChooseFile("Drumlin cmap file Save", ProposeNewName(currentFile));
  if (!outputName || outputName->empty()) {
    names.ended = Outcome::kCancelled;
    return names;
  }
  if (platform::FileExists(*outputName)) {
    messages.Show("ERROR", FileExistText(*outputName));
    names.ended = Outcome::kFailed;
    return names;
  }
  names.input = currentFile;
  names.output = *outputName;
  return names;
}

Outcome ConvertCmapCommand(std::string& currentFile, FileChooser& chooser, MessageSink& messages,
                           ProgressSink* progress) {
  CmapCommandNames names = ChooseCmapNames(currentFile, chooser, messages);
  if (names.ended != Outcome::kDone) return names.ended;
  return ConvertCmapFile(names.input, names.output, messages, progress);
}

Outcome ConvertNameCommand(std::string& currentFile, FileChooser& chooser, MessageSink& messages) {
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", currentFile)) return Outcome::kCancelled;
  return ConvertNameTable(currentFile, messages);
}

Outcome DumpCmapCommand(std::string& currentFile, FileChooser& chooser, MessageSink& messages) {
  if (!ChooseCurrentFile(currentFile, chooser, "Drumlin File Open", currentFile)) return Outcome::kCancelled;
  std::optional<std::string> outputName = chooser.ChooseFile("Drumlin File Save", ProposeBeside(currentFile, "junk.txt"));
  if (!outputName || outputName->empty()) return Outcome::kCancelled;
  return DumpCmapMapping(currentFile, *outputName, messages);
}

}  // namespace macconv
