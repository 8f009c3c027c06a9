#include "macconv/engine/table_input.h"

#include <algorithm>

#include "core/io/readable_file.h"
#include "core/tables/name.h"
#include "macconv/engine/message_text.h"
#include "shell/text.h"

namespace macconv {

uint64_t NameTableReach() { return core::LangTagRecordsEnd(65535, 65535); }

namespace {

core::Problem FileProblem(core::ProblemCode code, int systemError) {
  core::Problem problem;
  problem.code = code;
  problem.systemError = systemError;
  return problem;
}

}  // namespace

std::optional<core::Problem> ReadTableFile(const std::string& path, uint64_t reach, bool refuseLarger,
                                           std::vector<uint8_t>* bytes) {
  bytes->clear();
  core::ReadableFile file;
  if (!file.Open(path)) return FileProblem(core::ProblemCode::kOpenFailed, file.error());
  if (refuseLarger && file.size() > reach) {
    core::Problem tooLarge = FileProblem(core::ProblemCode::kFileTooLarge, 0);
    tooLarge.number = file.size();
    tooLarge.limit = reach;
    return tooLarge;
  }
  *bytes = file.ReadRange(0, std::min(file.size(), reach));
  if (file.read_error() == 0) return std::nullopt;
  bytes->clear();
  return FileProblem(core::ProblemCode::kReadFailed, file.read_error());
}

std::string TableFileProblemText(const core::Problem& problem, const std::string& name) {
  switch (problem.code) {
    case core::ProblemCode::kOpenFailed:
      return CreateFileFailedText(name) + core::OpenErrorNote(problem.systemError);
    case core::ProblemCode::kFileTooLarge:
      return shell::FormatText("%s is larger than the %llu bytes a table file may have.", name.c_str(),
                               static_cast<unsigned long long>(problem.limit));
    default:
      return ReadFileFailedText(name, problem.systemError);
  }
}

}  // namespace macconv
