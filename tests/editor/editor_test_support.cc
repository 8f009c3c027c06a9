#include "tests/editor/editor_test_support.h"

#include "platform/program_folder.h"
#include "editor/model/checksum_binding.h"

namespace editortest {

std::vector<std::string> CaptureLog::Lines() const {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text_.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text_.substr(start, end - start));
  if (start < text_.size()) lines.push_back(text_.substr(start));
  return lines;
}

std::string Workspace::Write(const std::string& name, const testsupport::Bytes& bytes) {
  testsupport::WriteBytes(dir.File(name), bytes);
  return dir.File(name);
}

bool Workspace::Analyse(const std::string& path, const std::string& library) {
  editor::AnalysisRequest request{path, dir.path()};
  // The library built beside the tests, by its full name.
  request.libraryName = library.empty()
                            ? platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName)
                            : library;
  return editor::AnalysisRun(request, &analysis, log, messages);
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines)
    if (line.rfind(prefix, 0) == 0) return line;
  return "";
}

int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
  int count = 0;
  for (const std::string& line : lines) count += line.rfind(prefix, 0) == 0;
  return count;
}

}  // namespace editortest
