#include "platform/profile.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

using platform::ParseProfileInt;
using platform::Profile;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

Profile Parsed(const std::string& text) {
  Profile profile;
  profile.Parse(text);
  return profile;
}

TEST(ProfileRead, NamesMatchWithoutCaseAndBlanks) {
  Profile p = Parsed("stray=1\n[Summary]\n  FileName \t= a.os_2 \n[other]\nx=2\n");
  EXPECT_EQ(p.GetString("SUMMARY", "filename", "-"), "a.os_2");
  EXPECT_EQ(p.GetString(" summary ", "FILENAME", "-"), "a.os_2");
  EXPECT_EQ(p.GetString("summary", "x", "-"), "-");      // a key of another section
  EXPECT_EQ(p.GetString("stray", "stray", "-"), "-");    // lines before any section are no section
  EXPECT_EQ(p.GetString("missing", "x", "dflt"), "dflt");
  EXPECT_FALSE(p.Has("other", "y"));
  EXPECT_TRUE(p.Has("OTHER", "X"));
}

TEST(ProfileRead, ValueRules) {
  Profile p = Parsed(
      "[s]\r\n"
      "eq=a=b \r\n"
      "dq= \"quoted  \" \r\n"
      "sq='single'\r\n"
      "mixed=\"not'\r\n"
      "lone=\"\r\n"
      "inner=a\"b\"\r\n"
      "tabs=\t\tv\t\r\n"
      "empty=\r\n"
      "long=abcdefghij\r\n");
  EXPECT_EQ(p.GetString("s", "eq", ""), "a=b");
  EXPECT_EQ(p.GetString("s", "dq", ""), "quoted  ");
  EXPECT_EQ(p.GetString("s", "sq", ""), "single");
  EXPECT_EQ(p.GetString("s", "mixed", ""), "\"not'");
  EXPECT_EQ(p.GetString("s", "lone", ""), "\"");
  EXPECT_EQ(p.GetString("s", "inner", ""), "a\"b\"");
  EXPECT_EQ(p.GetString("s", "tabs", ""), "v");
  EXPECT_EQ(p.GetString("s", "empty", "dflt"), "");
  EXPECT_EQ(p.GetString("s", "long", "", 4), "abcd");
}

TEST(ProfileRead, FirstOfDuplicatesWins) {
  Profile p = Parsed("[a]\nk=1\nk=2\n[A]\nk=3\nj=4\n");
  EXPECT_EQ(p.GetString("a", "k", ""), "1");
  EXPECT_FALSE(p.Has("a", "j"));
  p.Set("a", "K", "9");
  p.Set("a", "j", "5");
  EXPECT_EQ(p.Serialize(), "[a]\nk=9\r\nk=2\nj=5\r\n[A]\nk=3\nj=4\n");
}

TEST(ProfileRead, IntegerRule) {
  EXPECT_EQ(ParseProfileInt("-278", 7) & 0xFFFF, 0xFEEAu);
  EXPECT_EQ(ParseProfileInt("0x1F", 7), 0x1Fu);
  EXPECT_EQ(ParseProfileInt("0X1fzz", 7), 0x1Fu);
  EXPECT_EQ(ParseProfileInt("-0x10", 7), 0xFFFFFFF0u);
  EXPECT_EQ(ParseProfileInt("  +12abc", 7), 12u);
  EXPECT_EQ(ParseProfileInt("abc", 7), 0u);
  EXPECT_EQ(ParseProfileInt("-", 7), 0u);
  EXPECT_EQ(ParseProfileInt("0X", 7), 0u);
  EXPECT_EQ(ParseProfileInt("1f", 7), 1u);  // decimal stops at 'f'
  EXPECT_EQ(ParseProfileInt("4294967297", 7), 1u);
  EXPECT_EQ(ParseProfileInt("0x123456789", 7), 0x23456789u);
  EXPECT_EQ(ParseProfileInt("", 7), 7u);
  EXPECT_EQ(ParseProfileInt(" \t", 7), 7u);

  Profile p = Parsed("[s]\nneg = -1\nempty=\nquoted=\"\"\nq2='42'\n");
  EXPECT_EQ(p.GetInt("s", "neg", 7), 0xFFFFFFFFu);
  EXPECT_EQ(p.GetInt("s", "empty", 7), 7u);
  EXPECT_EQ(p.GetInt("s", "quoted", 7), 7u);
  EXPECT_EQ(p.GetInt("s", "q2", 7), 42u);
  EXPECT_EQ(p.GetInt("s", "missing", 7), 7u);
}

TEST(ProfileWrite, ReplacesInPlaceAndKeepsEverythingElse) {
  const std::string before = "; note\n[one]\nA = old \ntail line\n\n[two]\r\nb=2\r\n";
  Profile p = Parsed(before);
  EXPECT_EQ(p.Serialize(), before);  // read and written back unchanged
  ASSERT_TRUE(p.Set("ONE", "a", "new"));
  EXPECT_EQ(p.Serialize(), "; note\n[one]\nA=new\r\ntail line\n\n[two]\r\nb=2\r\n");
}

TEST(ProfileWrite, NewKeyEndsItsSectionNewSectionEndsTheFile) {
  Profile p = Parsed("[one]\nk=1\n\n\n[empty]\n\n[two]\nz=9");
  ASSERT_TRUE(p.Set("one", "added", "x"));
  ASSERT_TRUE(p.Set("empty", "first", "y"));
  ASSERT_TRUE(p.Set("Three", "n", "1"));
  EXPECT_EQ(p.Serialize(),
            "[one]\nk=1\nadded=x\r\n\n\n[empty]\nfirst=y\r\n\n[two]\nz=9\r\n[Three]\r\nn=1\r\n");
  ASSERT_TRUE(p.Set("two", "last", ""));  // after an unended last line
  EXPECT_EQ(p.GetString("two", "z", ""), "9");
  EXPECT_EQ(p.GetString("two", "last", "-"), "");
  EXPECT_EQ(p.GetString("three", "n", ""), "1");
}

TEST(ProfileWrite, RefusesNamesThatBreakTheFile) {
  Profile p = Parsed("[s]\nk=1\n");
  EXPECT_FALSE(p.Set("s", "", "v"));
  EXPECT_FALSE(p.Set("", "k", "v"));
  EXPECT_FALSE(p.Set("s", "a=b", "v"));
  EXPECT_FALSE(p.Set("s", "[x", "v"));
  EXPECT_FALSE(p.Set("s", "a\nb", "v"));
  EXPECT_FALSE(p.Set("a]b", "k", "v"));
  EXPECT_EQ(p.Serialize(), "[s]\nk=1\n");
  ASSERT_TRUE(p.Set("s", "k", "line\r\n[t]\nx=1"));
  EXPECT_EQ(p.GetString("s", "k", ""), "line  [t] x=1");
  EXPECT_FALSE(p.Has("t", "x"));
}

TEST(ProfileWrite, KeepsAByteOrderMark) {
  Profile p = Parsed("\xEF\xBB\xBF[s]\nk=1\n");
  EXPECT_EQ(p.GetString("s", "k", ""), "1");
  p.Set("s", "k", "2");
  EXPECT_EQ(p.Serialize(), "\xEF\xBB\xBF[s]\nk=2\r\n");
}

TEST(ProfileWrite, LargeSectionsAndManySections) {
  // One section with many keys (the indexed search) and many sections.
  Profile p;
  for (int i = 0; i < 300; ++i) p.Set("big", "key" + std::to_string(i), std::to_string(i));
  p.Set("BIG", "KEY7", "seven");
  for (int i = 0; i < 100000; ++i) p.Set("s" + std::to_string(i), "v", std::to_string(i));
  std::string text = p.Serialize();
  Profile q = Parsed(text);
  EXPECT_EQ(q.GetString("big", "key7", ""), "seven");
  EXPECT_EQ(q.GetString("big", "key299", ""), "299");
  for (int i = 0; i < 100000; i += 997) q.Set("S" + std::to_string(i), "added", "x");
  q.Set("big", "key300", "new");
  q.Set("big", "Key0", "zero");
  EXPECT_EQ(q.GetInt("s99999", "v", 0), 99999u);
  EXPECT_EQ(q.GetString("s997", "added", ""), "x");
  EXPECT_EQ(q.GetString("big", "key300", ""), "new");
  EXPECT_EQ(q.GetString("big", "key0", ""), "zero");
  Profile r = Parsed(q.Serialize());
  EXPECT_EQ(r.GetString("s997", "added", ""), "x");
  EXPECT_EQ(r.GetString("s998", "added", "-"), "-");
}

// Random profiles from a small alphabet of lines: text survives a round trip
// byte for byte, and a write changes the one entry it names and nothing else.
TEST(ProfileWrite, RandomProfilesChangeOnlyTheWrittenEntry) {
  const char* pieces[] = {"[a]", "[B]", " [c] x", "[]", "k=1", " K = 2 ", "j='q'", "=v", "no equals", "", " ", "\t",
                          "x=\"y\"", "[a"};
  const char* ends[] = {"\n", "\r\n"};
  const char* names[] = {"a", "b", "c", "C", "k", "j", "x", "z"};
  std::mt19937 random(12345);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    int lines = static_cast<int>(random() % 12);
    for (int i = 0; i < lines; ++i) text += std::string(pieces[random() % 14]) + ends[random() % 2];
    if (random() % 3 == 0) text += pieces[random() % 14];  // an unended last line
    Profile p = Parsed(text);
    ASSERT_EQ(p.Serialize(), text);
    std::string section = names[random() % 4], key = names[4 + random() % 4];
    auto snapshot = [&](const Profile& q) {
      std::string all;
      for (int si = 0; si < 4; ++si)
        for (int ki = 4; ki < 8; ++ki)
          if (!(EqualsIgnoringCase(names[si], section) && EqualsIgnoringCase(names[ki], key)))
            all += q.GetString(names[si], names[ki], "<none>") + "|";
      return all;
    };
    std::string before = snapshot(p);
    ASSERT_TRUE(p.Set(section, key, "new"));
    Profile reread = Parsed(p.Serialize());
    EXPECT_EQ(reread.GetString(section, key, ""), "new") << text;
    EXPECT_EQ(snapshot(reread), before) << text;
  }
}

TEST(ProfileFile, WritesCreateAndKeepEarlierEntries) {
  testsupport::TempDir dir;
  std::string path = dir.File("Tool.ini");
  int error = -1;
  EXPECT_FALSE(testsupport::Exists(path));
  ASSERT_TRUE(platform::WriteProfileString(path, "SUMMARY", "FileName", "a.os_2", &error));
  EXPECT_EQ(error, 0);
  ASSERT_TRUE(platform::WriteProfileString(path, "Record1", "x", "1"));
  ASSERT_TRUE(platform::WriteProfileString(path, "summary", "Version", "3"));
  ASSERT_TRUE(platform::WriteProfileString(path, "SUMMARY", "filename", "b.os_2"));
  EXPECT_EQ(testsupport::ReadText(path), "[SUMMARY]\r\nFileName=b.os_2\r\nVersion=3\r\n[Record1]\r\nx=1\r\n");
  EXPECT_EQ(testsupport::ListFolder(dir.path()), std::vector<std::string>{"Tool.ini"});
}

TEST(ProfileFile, FailuresAreReported) {
  testsupport::TempDir dir;
  int error = 0;
  EXPECT_FALSE(platform::WriteProfileString(dir.File("none/Tool.ini"), "s", "k", "v", &error));
  EXPECT_EQ(error, testsupport::kNoSuchFolder);
  testsupport::WriteText(dir.File("file"), "x");
  EXPECT_FALSE(platform::WriteProfileString(dir.File("file/Tool.ini"), "s", "k", "v", &error));
  EXPECT_EQ(error, testsupport::kNotAFolder);
  EXPECT_FALSE(platform::WriteProfileString(dir.File("file"), "s", "k=", "v", &error));
  EXPECT_EQ(error, EINVAL);
  EXPECT_EQ(testsupport::ReadText(dir.File("file")), "x");

  // A profile path that names a folder: reading fails, writing changes nothing.
  testsupport::MakeFolder(dir.File("folder"));
  Profile p;
  EXPECT_FALSE(p.Load(dir.File("folder")));
  EXPECT_EQ(p.error(), EISDIR);
  p.Set("s", "k", "v");
  EXPECT_FALSE(p.Save(dir.File("folder")));
  EXPECT_NE(p.error(), 0);
  EXPECT_TRUE(testsupport::ListFolder(dir.File("folder")).empty());
  EXPECT_EQ(testsupport::ListFolder(dir.path()), (std::vector<std::string>{"file", "folder"}));
}


// A large profile (many small sections, as the editor leaves after a hostile
// font) loads, changes and saves in a few times its size of memory. Run in a
// child so that the peak is this work's alone.
TEST(ProfileFile, LargeFilesCostLittleMoreThanTheirSize) {
#if defined(_WIN32)
  GTEST_SKIP() << "measures a forked child's peak memory (fork, getrusage)";
#else
  testsupport::TempDir dir;
  std::string path = dir.File("Large.ini");
  std::string text;
  for (int s = 0; text.size() < (15u << 20); ++s) {
    text += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 8; ++k) text += "key" + std::to_string(k) + "=value " + std::to_string(s) + "\r\n";
  }
  testsupport::WriteText(path, text);
  const long fileKiB = static_cast<long>(text.size() / 1024);
  std::string().swap(text);

  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    struct rusage before, after;
    ::getrusage(RUSAGE_SELF, &before);
    Profile profile;
    bool ok = profile.Load(path) && profile.GetString("section12345", "KEY7", "") == "value 12345" &&
              profile.Set("Section7", "added", "1") && profile.Set("Section0", "key1", "new") && profile.Save(path);
    ::getrusage(RUSAGE_SELF, &after);
    std::_Exit(!ok ? 2 : after.ru_maxrss - before.ru_maxrss > 5 * fileKiB ? 3 : 0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the round trip failed, 3: the peak passed 5 times the file's size";
  platform::Profile reread;
  ASSERT_TRUE(reread.Load(path));
  EXPECT_EQ(reread.GetString("Section0", "key1", ""), "new");

  // Past 16 MiB a file is no settings file of the suite's: it is not read.
  testsupport::WriteText(path, std::string(platform::Profile::kLargestProfile + 1, '\n'));
  EXPECT_FALSE(reread.Load(path));
  EXPECT_EQ(reread.error(), EFBIG);
  EXPECT_FALSE(reread.Has("Section0", "key1"));
#endif
}

}  // namespace
