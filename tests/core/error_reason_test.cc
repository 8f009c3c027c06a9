// The reasons that failure messages carry. The codes the suite sets itself
// read the same on every system; the system's own codes get its words.
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "core/io/readable_file.h"

namespace {

TEST(ErrorReason, TheSuitesOwnCodesReadAlikeEverywhere) {
  EXPECT_EQ(core::ErrorReason(EISDIR), "Is a directory.");
  EXPECT_EQ(core::ErrorReason(EFBIG), "File too large.");
  EXPECT_EQ(core::ErrorReason(ENODATA), "No data available.");
  EXPECT_EQ(core::ErrorReason(EMFILE), "Too many open files.");
  EXPECT_EQ(core::ErrorReason(EBADF), "Bad file descriptor.");
  EXPECT_EQ(core::ErrorReason(EINVAL), "Invalid argument.");
  EXPECT_EQ(core::ErrorReason(core::kNotRegularFile), "Not a regular file.");
  EXPECT_EQ(core::ErrorReason(0), "");
}

TEST(ErrorReason, NotesFollowALineWithoutTheFullStop) {
  EXPECT_EQ(core::ReasonNote(EISDIR), " (Is a directory)");
  EXPECT_EQ(core::ReasonNote(core::kNotRegularFile), " (not a regular file)");
  EXPECT_EQ(core::ReasonNote(0), "");
  // A missing file: ENOENT on POSIX, ERROR_FILE_NOT_FOUND on Windows, both 2.
  const std::string missing = core::ErrorReason(2);
  ASSERT_GT(missing.size(), 1u);
  EXPECT_EQ(missing.back(), '.');
  EXPECT_EQ(core::ReasonNote(2), " (" + missing.substr(0, missing.size() - 1) + ")");
}

}  // namespace
