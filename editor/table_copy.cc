#include "editor/table_copy.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "editor/text_block.h"

namespace editor {
namespace {

constexpr size_t kCopyBlock = 1 << 20;

}  // namespace

uint64_t BytesInFile(const core::ReadableFile& file, uint64_t offset, uint64_t length) {
  if (offset >= file.size()) return 0;
  return std::min(length, file.size() - offset);
}

CopyStatus CopyRange(const core::ReadableFile& file, uint64_t offset, uint64_t length, platform::AtomicOutput& out,
                     uint64_t* copied) {
  *copied = 0;
  uint64_t present = BytesInFile(file, offset, length);
  if (present == 0) return CopyStatus::kOk;
  std::vector<uint8_t> block(static_cast<size_t>(std::min<uint64_t>(present, kCopyBlock)));
  while (*copied < present) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(present - *copied, block.size()));
    size_t got = file.ReadAt(offset + *copied, block.data(), want);
    if (got > 0 && !out.Write(block.data(), got)) return CopyStatus::kWriteFailed;
    *copied += got;
    if (got < want) return CopyStatus::kReadFailed;
  }
  return CopyStatus::kOk;
}

void LogWriteFailure(LogSink& log, const platform::AtomicOutput& out) {
  log.Append(FormatBlock("Function WriteFile(%s) has an error at 1!! %d\r\n--\r\n", out.destination().c_str(),
                         out.error()));
}

void LogReadFailure(LogSink& log, const std::string& path, int error) {
  log.Append(FormatBlock("Function ReadFile(%s) has an error at 3!! %d\r\n--\r\n", path.c_str(), error));
}

bool CommitOrLog(platform::AtomicOutput& out, LogSink& log) {
  if (out.Commit()) return true;
  LogWriteFailure(log, out);
  return false;
}

}  // namespace editor
