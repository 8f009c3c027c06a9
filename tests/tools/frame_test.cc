#include <gtest/gtest.h>

#include "tools/frame/tool_frame.h"

namespace {

using tools::PathStyle;

TEST(ToolFrame, ProfilePathFromCommandLineInBothStyles) {
  struct Case {
    const char* commandLine;
    PathStyle style;
    const char* expected;  // nullptr: no folder
  } cases[] = {
      {"C:\\tools\\pellout.exe x.os_2", PathStyle::kWindows, "C:\\tools\\Pellout.ini"},
      {"\"C:\\my tools\\pellout.exe\" x.os_2", PathStyle::kWindows, "C:\\my tools\\Pellout.ini"},
      {"C:/tools\\sub/pellout.exe", PathStyle::kWindows, "C:/tools\\sub\\Pellout.ini"},
      {"/opt/font tools/pellout x.os_2", PathStyle::kPosix, "/opt/Pellout.ini"},  // unquoted: cut at the blank
      {"\"/opt/font tools/pellout\" x.os_2", PathStyle::kPosix, "/opt/font tools/Pellout.ini"},
      {"/usr/bin/pellout", PathStyle::kPosix, "/usr/bin/Pellout.ini"},
      {"/pellout", PathStyle::kPosix, "/Pellout.ini"},
      {"C:\\tools\\pellout.exe", PathStyle::kPosix, nullptr},  // a backslash is no separator here
      {"pellout.exe x", PathStyle::kWindows, nullptr},
      {"\"C:\\tools\\pellout.exe x", PathStyle::kWindows, nullptr},  // quote never closed
  };
  for (const Case& c : cases) {
    std::string path;
    bool found = tools::ProfilePathFromCommandLine(c.commandLine, "Pellout.ini", c.style, &path);
    if (c.expected) {
      EXPECT_TRUE(found) << c.commandLine;
      EXPECT_EQ(path, c.expected) << c.commandLine;
    } else {
      EXPECT_FALSE(found) << c.commandLine << " gave " << path;
    }
  }
  std::string path;
  ASSERT_TRUE(tools::ProfilePathFromCommandLine("/a/b/pellout", "", PathStyle::kPosix, &path));
  EXPECT_EQ(path, "/a/b/");
  // A merge tool's argument is joined to the tool folder even with a folder part.
  EXPECT_EQ(tools::ToolFilePath("/t", "sub/name.ini"), "/t/sub/name.ini");
  EXPECT_EQ(tools::ToolFilePath("/t", ""), "/t/");
}

TEST(ToolFrame, SwapFlagModesAndLines) {
  struct Case {
    const char* argument;
    bool allowSkipTwo, byteSwap, skipTwo;
  } cases[] = {
      {"x", true, false, false},  {"U", true, true, false},   {"u2", true, true, true},
      {"2u", true, false, false}, {"u2", false, true, false}, {"", true, false, false},
  };
  for (const Case& c : cases) {
    tools::TextConsole console;
    tools::SwapModes modes = tools::TakeSwapFlag(c.argument, c.allowSkipTwo, console);
    EXPECT_EQ(modes.byteSwap, c.byteSwap) << c.argument;
    EXPECT_EQ(modes.skipTwo, c.skipTwo) << c.argument;
    std::string expected = std::string("argv[2] = ") + c.argument + "\n";
    if (c.byteSwap) expected += "Unicode High/Low bytes swap mode\n";
    EXPECT_EQ(console.text(), expected);
  }
}

}  // namespace
