#include "macconv/message_text.h"

#include "core/readable_file.h"
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

std::optional<std::string> ReadInputFile(const std::string& name, std::vector<uint8_t>* bytes) {
  bytes->clear();
  core::ReadableFile file;
  if (!file.Open(name)) return CreateFileFailedText(name) + core::OpenErrorNote(file.error());
  *bytes = file.ReadRange(0, file.size());
  if (file.read_error() == 0) return std::nullopt;
  bytes->clear();
  return ReadFileFailedText(name, file.read_error());
}

}  // namespace macconv
