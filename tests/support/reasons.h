// The codes and reasons that failure messages carry for the usual faults,
// as each system gives them: POSIX says "No such file or directory" for a
// missing file and a missing folder alike (ENOENT); Windows has a code of
// its own for each, and its own words.
#pragma once

#include <cerrno>
#include <string>

#include "core/io/readable_file.h"

namespace testsupport {

// A file that is not there: ENOENT, or ERROR_FILE_NOT_FOUND, both 2.
inline constexpr int kMissingFileCode = 2;
// A path whose folder is not there: ENOENT, or ERROR_PATH_NOT_FOUND.
#if defined(_WIN32)
inline constexpr int kMissingFolderCode = 3;
#else
inline constexpr int kMissingFolderCode = ENOENT;
#endif

// The reasons in words, as a message's detail ("No such file or directory.").
inline std::string MissingFileReason() {
#if defined(_WIN32)
  return core::ErrorReason(kMissingFileCode);
#else
  return "No such file or directory.";
#endif
}
inline std::string MissingFolderReason() {
#if defined(_WIN32)
  return core::ErrorReason(kMissingFolderCode);
#else
  return "No such file or directory.";
#endif
}
inline std::string ExistsReason() {
#if defined(_WIN32)
  return core::ErrorReason(EEXIST);
#else
  return "File exists.";
#endif
}

// The same as the note that follows a message's line: " (File exists)".
inline std::string AsNote(const std::string& reason) {
  return " (" + (reason.ends_with('.') ? reason.substr(0, reason.size() - 1) : reason) + ")";
}
inline std::string MissingFileNote() { return AsNote(MissingFileReason()); }
inline std::string MissingFolderNote() { return AsNote(MissingFolderReason()); }
inline std::string ExistsNote() { return AsNote(ExistsReason()); }

}  // namespace testsupport
