#include "editor/edit/command_files.h"

#include "editor/edit/table_copy.h"
#include "editor/render/text_block.h"

namespace editor {

bool OpenOutputAndFont(const std::string& outputPath, const char* createNote, const FontAnalysis& analysis,
                       platform::AtomicOutput& out, core::ReadableFile& font, shell::LogSink& log) {
  const std::string& fontPath = analysis.fontPath;
  if (!out.Begin(outputPath)) {
    log.Append(FormatBlock("Function CreateFile(%s) has an error at 1!! %d%s%s\r\n--\r\n", outputPath.c_str(),
                           out.error(), createNote, core::ReasonNote(out.error()).c_str()));
    return false;
  }
  if (!font.Open(fontPath)) {
    log.Append(FormatBlock("Function CreateFile(%s) has an error at 3!! %d%s\r\n--\r\n", fontPath.c_str(),
                           font.error(), core::ReasonNote(font.error()).c_str()));
    out.Abandon();
    return false;
  }
  return true;
}

bool IsAnalysedFont(const FontAnalysis& analysis, const core::ReadableFile& font, shell::LogSink& log) {
  if (font.identity() == analysis.identity) return true;
  LogFontChanged(log, analysis.fontPath);
  return false;
}

bool CopiedWhole(const core::ReadableFile& file, const std::string& path, shell::LogSink& log) {
  if (file.read_error() != 0) {
    LogReadFailure(log, path, file.read_error());
    return false;
  }
  if (!file.Unchanged()) {
    LogChangedDuringCopy(log, path);
    return false;
  }
  return true;
}

}  // namespace editor
