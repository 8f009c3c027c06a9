// The reasons that failure messages carry. The codes the suite sets itself
// read the same on every system, never as a system error of the same number.
#include <cerrno>

#include <gtest/gtest.h>

#include "core/io/readable_file.h"

namespace {

TEST(ErrorReason, TheSuitesOwnCodesReadAlikeEverywhere) {
  EXPECT_EQ(core::ErrorReason(EISDIR), "Is a directory.");
  EXPECT_EQ(core::ReasonNote(EISDIR), " (Is a directory)");
  EXPECT_EQ(core::ErrorReason(EFBIG), "File too large.");
  EXPECT_EQ(core::ErrorReason(ENODATA), "No data available.");
  EXPECT_EQ(core::ErrorReason(EMFILE), "Too many open files.");
  EXPECT_EQ(core::ErrorReason(EBADF), "Bad file descriptor.");
  EXPECT_EQ(core::ErrorReason(EINVAL), "Invalid argument.");
}

}  // namespace
