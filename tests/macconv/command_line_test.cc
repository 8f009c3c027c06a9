// The command line of the converter and the help files found from "myself".
#include <gtest/gtest.h>

#include "macconv/session/command_line.h"

namespace {

using macconv::ParseCommandLine;
using macconv::ParseState;

TEST(CommandLine, ReadsProgramQuitOptionAndFile) {
  auto line = ParseCommandLine("\"C:\\Tools\\Drumlin.exe\" /q font.bin");
  EXPECT_TRUE(line.valid);
  EXPECT_EQ(line.programName, "C:\\Tools\\Drumlin.exe");
  EXPECT_TRUE(line.quit);
  EXPECT_EQ(line.fileName, "font.bin");

  line = ParseCommandLine("\"prog\" first.bin second.bin");
  EXPECT_TRUE(line.valid);
  EXPECT_FALSE(line.quit);
  EXPECT_EQ(line.fileName, "second.bin");

  line = ParseCommandLine("\"prog\" \"-q\" \"C:\\My Fonts\\suit case.bin\"");
  EXPECT_TRUE(line.valid);
  EXPECT_TRUE(line.quit);
  EXPECT_EQ(line.fileName, "C:\\My Fonts\\suit case.bin");

  line = ParseCommandLine("\"dummy\" -Q");
  EXPECT_TRUE(line.valid);
  EXPECT_TRUE(line.quit);
  EXPECT_EQ(line.fileName, "");

  line = ParseCommandLine("\"prog\"");
  EXPECT_TRUE(line.valid);
  EXPECT_EQ(line.programName, "prog");
}

TEST(CommandLine, TakesPosixPathsForFilesNotOptions) {
  auto line = ParseCommandLine("/usr/local/bin/drumlin-test /Q /home/me/mac-font.bin");
  EXPECT_TRUE(line.valid);
  EXPECT_EQ(line.programName, "/usr/local/bin/drumlin-test");
  EXPECT_TRUE(line.quit);
  EXPECT_EQ(line.fileName, "/home/me/mac-font.bin");

  line = ParseCommandLine("\"/opt/my tools/drumlin\" \"/home/me/My Fonts/a.bin\" /x");
  EXPECT_FALSE(line.valid);  // an option other than Q
  EXPECT_EQ(line.fileName, "/home/me/My Fonts/a.bin");  // completed before the error
}

TEST(CommandLine, RejectsBadOptionsQuotesAndLongTokens) {
  auto line = ParseCommandLine("\"prog\" /x font.bin");
  EXPECT_FALSE(line.valid);
  EXPECT_EQ(line.fileName, "");

  EXPECT_FALSE(ParseCommandLine("\"prog").valid);
  EXPECT_FALSE(ParseCommandLine("\"prog\" \"open.bin").valid);
  EXPECT_FALSE(ParseCommandLine("\"prog\" -qz").valid);

  std::string longName(macconv::kTokenLimit, 'a');
  EXPECT_FALSE(ParseCommandLine("\"prog\" " + longName).valid);
  EXPECT_TRUE(ParseCommandLine("\"prog\" " + longName.substr(1)).valid);
}

TEST(CommandLine, ReadTokenDropsQuotesAndReportsWhatFollows) {
  auto token = macconv::ReadToken("a\"b c\"d rest", 0);
  EXPECT_EQ(token.token, "ab cd");
  EXPECT_EQ(token.next, 7u);
  EXPECT_EQ(token.state, ParseState::kAfterSpace);

  token = macconv::ReadToken("x last", 2);
  EXPECT_EQ(token.token, "last");
  EXPECT_EQ(token.state, ParseState::kEnd);

  EXPECT_EQ(macconv::ReadToken("\"open", 0).state, ParseState::kError);
}

TEST(HelpFiles, LieBesideTheRecordedProgram) {
  EXPECT_EQ(macconv::HelpFilePath("C:\\Program Files\\Drumlin.exe", macconv::kHelpTextName, true),
            "C:\\Program Files\\Drumlin.txt");
  EXPECT_EQ(macconv::HelpFilePath("\"/opt/marlowby/drumlin\"", macconv::kHelpDocumentName, false),
            "/opt/marlowby/Drumlin.html");
  EXPECT_EQ(macconv::HelpFilePath("a\\b/drumlin", "Drumlin.txt", false), "a\\b/Drumlin.txt");
  EXPECT_EQ(macconv::HelpFilePath("drumlin", "Drumlin.txt", false), "drumlin/Drumlin.txt");
}

}  // namespace
