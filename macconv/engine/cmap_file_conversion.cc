#include "macconv/engine/cmap_file_conversion.h"

#include <cerrno>
#include <vector>

#include "core/io/readable_file.h"
#include "macconv/engine/cmap_conversion.h"
#include "macconv/engine/message_text.h"
#include "macconv/engine/table_input.h"
#include "platform/file_system.h"
#include "platform/output_file.h"
#include "platform/temp_files.h"
#include "shell/text.h"

namespace macconv {
namespace {

constexpr size_t kCmapHeaderSize = 4;  // version and numTables

// Puts the finished work file's content at the output name without replacing
// a file there: it goes into a new file beside the output (with the usual
// mode for new files, which a work file does not have) that is moved into
// place once complete. This works across file systems as well.
bool PlaceWorkFile(const platform::WorkFile& work, const std::string& outputName, int* error) {
  return platform::CopyFileNoReplace(work.path(), outputName, error);
}

// Writes the table into the work file (its own copy of the descriptor),
// emptied first; false with the system's error code in *error.
bool WriteWorkFile(const platform::WorkFile& work, std::span<const uint8_t> bytes, int* error) {
  *error = 0;
  const int fd = platform::files::DuplicateEmptied(work.fd(), error);
  if (fd < 0) return false;
  platform::BufferedWriter writer;
  writer.Attach(fd);
  bool written = writer.Write(bytes.data(), bytes.size()) && writer.Flush();
  *error = writer.error();
  writer.Detach();
  if (const int closeError = platform::files::CloseFile(fd); closeError != 0 && written) {
    *error = closeError;
    written = false;
  }
  if (!written && *error == 0) *error = EBADF;
  return written;
}

}  // namespace

shell::Outcome ConvertCmapFile(const std::string& inputName, const std::string& outputName, shell::MessageSink& messages,
                        ProgressSink* progress) {
  std::vector<uint8_t> input;
  std::optional<core::Problem> readFailure = ReadTableFile(inputName, kLargestCmapFile, /*refuseLarger=*/true, &input);
  bool inputRead = !readFailure;
  if (!inputRead) messages.Show({"ERROR", TableFileProblemText(*readFailure, inputName)});
  // Without its version and count there is no table to convert.
  if (inputRead && input.size() < kCmapHeaderSize) {
    messages.Show({"ERROR", shell::FormatText("%s holds %zu bytes, too few for the %zu bytes of a cmap table's header; "
                                              "%s is not written.",
                                              inputName.c_str(), input.size(), kCmapHeaderSize, outputName.c_str())});
    return shell::Outcome::kFailed;
  }

  platform::WorkFile work;
  int workError = 0;
  bool workCreated = work.Create(&workError);
  if (!workCreated)
    messages.Show({"ERROR at 001", CreateFileFailedText(platform::TempFolder() + "/emfXXXXXX"),
                   core::ErrorReason(workError)});
  if (!inputRead || !workCreated) return shell::Outcome::kFailed;

  core::ByteWriter output;
  ProgressThrottle throttle(progress);
  CmapConversionSummary summary = ConvertCmapTable(input, output, throttle);
  if (summary.tooLarge) {
    messages.Show({"ERROR", shell::FormatText("The converted cmap table would be larger than %llu bytes; %s is not written.",
                                              static_cast<unsigned long long>(kLargestCmapOutput),
                                              outputName.c_str())});
    return shell::Outcome::kFailed;
  }
  int error = 0;
  if (!WriteWorkFile(work, output.bytes(), &error)) {
    messages.Show({"ERROR", WriteFileFailedText(work.name(), error), core::ErrorReason(error)});
    return shell::Outcome::kFailed;  // the work file removes itself
  }
  if (!PlaceWorkFile(work, outputName, &error)) {
    // Only a taken name is "File exist?"; a full disk or a failed read says so.
    messages.Show({"ERROR", error == EEXIST ? FileExistText(outputName) : WriteFileFailedText(outputName, error),
                   core::ErrorReason(error)});
    return shell::Outcome::kFailed;
  }
  return shell::Outcome::kDone;
}

}  // namespace macconv
