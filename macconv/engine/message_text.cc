#include "macconv/engine/message_text.h"

#include "shell/text.h"

namespace macconv {

std::string CreateFileFailedText(const std::string& name) {
  return "Function CreateFile(" + name + ") failed!! File exist?";
}

std::string FileExistText(const std::string& name) { return "File exist? : " + name; }

std::string WriteFileFailedText(const std::string& name, int error) {
  return shell::FormatText("Function WriteFile(%s) failed!! %d", name.c_str(), error);
}

std::string ReadFileFailedText(const std::string& name, int error) {
  return shell::FormatText("Function ReadFile(%s) failed!! %d", name.c_str(), error);
}

std::string WrittenDetail(const std::string& name) { return "Written: " + name; }

std::string ProgressLine(const std::string& text) { return "\n     " + text + "     "; }

}  // namespace macconv
