#include <gtest/gtest.h>

#include "tools/frame/tool_frame.h"

namespace {

TEST(ToolFrame, ProfileFilesAreJoinedToTheToolFolder) {
  // A merge tool's argument is joined to the tool folder even with a folder part.
  EXPECT_EQ(tools::ToolFilePath("/t", "sub/name.ini"), "/t/sub/name.ini");
  EXPECT_EQ(tools::ToolFilePath("/t", ""), "/t/");
  // An absolute path names the file itself.
  EXPECT_EQ(tools::ToolFilePath("/t", "/abs/Pellout.ini"), "/abs/Pellout.ini");
#ifdef _WIN32
  EXPECT_EQ(tools::ToolFilePath("C:/t", "D:\\abs\\Pellout.ini"), "D:\\abs\\Pellout.ini");
  EXPECT_EQ(tools::ToolFilePath("C:/t", "D:Pellout.ini"), "C:/t/D:Pellout.ini");
#endif
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
