#include "macconv/cmap_file_conversion.h"

#include <cerrno>
#include <vector>

#include "core/readable_file.h"
#include "macconv/cmap_conversion.h"
#include "macconv/message_text.h"
#include "macconv/table_input.h"
#include "macconv/table_output.h"
#include "platform/output_file.h"
#include "platform/temp_files.h"
#include "shell/text.h"

namespace macconv {
namespace {

// Puts the finished work file's content at the output name without replacing
// a file there: it goes into a new file beside the output (with the usual
// mode for new files, which a work file does not have) that is moved into
// place once complete. This works across file systems as well.
bool PlaceWorkFile(const platform::WorkFile& work, const std::string& outputName, int* error) {
  return platform::CopyFileNoReplace(work.path(), outputName, error);
}

}  // namespace

shell::Outcome ConvertCmapFile(const std::string& inputName, const std::string& outputName, shell::MessageSink& messages,
                        ProgressSink* progress) {
  std::vector<uint8_t> input;
  std::optional<std::string> readFailure = ReadTableFile(inputName, kLargestCmapFile, /*refuseLarger=*/true, &input);
  bool inputRead = !readFailure;
  if (!inputRead) messages.Show({"ERROR", *readFailure});

  platform::WorkFile work;
  bool workCreated = work.Create();
  if (!workCreated) messages.Show({"ERROR at 001", CreateFileFailedText(platform::TempFolder() + "/emfXXXXXX")});
  if (!inputRead || !workCreated) return shell::Outcome::kFailed;

  FileTableOutput output;
  bool written = output.Open(work.fd());
  if (written) {
    ProgressThrottle throttle(progress);
    CmapConversionSummary summary = ConvertCmapTable(input, output, throttle);
    written = output.Close();
    if (written && summary.tooLarge) {
      messages.Show({"ERROR", shell::FormatText("The converted cmap table would be larger than %llu bytes; %s is not written.",
                                                static_cast<unsigned long long>(kLargestCmapOutput),
                                                outputName.c_str())});
      return shell::Outcome::kFailed;
    }
  }
  if (!written) {
    messages.Show({"ERROR", WriteFileFailedText(work.name(), output.error()), core::ErrorReason(output.error())});
    return shell::Outcome::kFailed;  // the work file removes itself
  }
  int error = 0;
  if (!PlaceWorkFile(work, outputName, &error)) {
    // Only a taken name is "File exist?"; a full disk or a failed read says so.
    messages.Show({"ERROR", error == EEXIST ? FileExistText(outputName) : WriteFileFailedText(outputName, error),
                   core::ErrorReason(error)});
    return shell::Outcome::kFailed;
  }
  return shell::Outcome::kDone;
}

}  // namespace macconv
