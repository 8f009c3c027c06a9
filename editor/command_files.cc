#include "editor/command_files.h"

#include "editor/text_block.h"

namespace editor {

bool OpenOutputAndFont(const std::string& outputPath, const char* createNote, const std::string& fontPath,
                       platform::AtomicOutput& out, core::ReadableFile& font, shell::LogSink& log) {
  if (!out.Begin(outputPath)) {
    log.Append(FormatBlock("Function CreateFile(%s) has an error at 1!! %d%s\r\n--\r\n", outputPath.c_str(),
                           out.error(), createNote));
    return false;
  }
  if (!font.Open(fontPath)) {
    log.Append(FormatBlock("Function CreateFile(%s) has an error at 3!! %d\r\n--\r\n", fontPath.c_str(),
                           font.error()));
    out.Abandon();
    return false;
  }
  return true;
}

}  // namespace editor
