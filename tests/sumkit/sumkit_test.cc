// The checksum library as the editor meets it: loaded by file name, its
// exports resolved by name.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include "platform/wide_text.h"
#endif

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "platform/program_folder.h"
#include "editor/model/checksum_binding.h"
#include "platform/shared_library.h"
#include "sumkit/sumkit.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"

namespace {

using testsupport::Bytes;

struct Messages {
  std::vector<std::string> seen;
  static void Collect(const char* caption, const char* text, void* context) {
    static_cast<Messages*>(context)->seen.push_back(std::string(caption) + ": " + text);
  }
};

class SumkitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(library_.Load(platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName)))
        << library_.error();
    table_ = library_.ResolveAs<CalcTblCheckSumFunction>("CalcTblCheckSum");
    head_ = library_.ResolveAs<CalcHeadCheckSumFunction>("CalcHeadCheckSum");
    auto setHandler = library_.ResolveAs<SumkitSetMessageHandlerFunction>("SumkitSetMessageHandler");
    ASSERT_TRUE(table_ && head_ && setHandler);
    setHandler(&Messages::Collect, &messages_);
    setHandler_ = setHandler;
  }
  void TearDown() override {
    if (setHandler_) setHandler_(nullptr, nullptr);
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    testsupport::WriteBytes(dir_.File(name), bytes);
    return dir_.File(name);
  }

  platform::SharedLibrary library_;
  CalcTblCheckSumFunction table_ = nullptr;
  CalcHeadCheckSumFunction head_ = nullptr;
  SumkitSetMessageHandlerFunction setHandler_ = nullptr;
  Messages messages_;
  testsupport::TempDir dir_;
};

TEST_F(SumkitTest, TableRuleAtTheEdges) {
  std::string path = Write("five", {0x00, 0x01, 0x02, 0x03, 0x04, 0x99, 0x98});
  EXPECT_EQ(table_(path.c_str(), 0, 5), 0x04010203u);
  EXPECT_EQ(table_(path.c_str(), 0, 0), 0u);
  EXPECT_EQ(table_(path.c_str(), 100, 16), 0u);
  EXPECT_EQ(table_(path.c_str(), 4, 8), 0x04999800u);
  EXPECT_TRUE(messages_.seen.empty());
}

TEST_F(SumkitTest, HeadRuleIgnoresAdjustmentAndTail) {
  Bytes a = testsupport::MakeHead(1);
  Bytes b = testsupport::MakeHead(0xDEADBEEF);
  b[52] = 0xFF;
  std::string pa = Write("a", a), pb = Write("b", b);
  EXPECT_EQ(head_(pa.c_str(), 0), head_(pb.c_str(), 0));
  EXPECT_EQ(head_(pa.c_str(), 0), testsupport::WholeFileSum(testsupport::MakeHead(0)));
}

TEST_F(SumkitTest, MissingFileGivesOneMessagePerCallAndZero) {
  std::string path = dir_.File("none.ttf");
  EXPECT_EQ(table_(path.c_str(), 0, 4), 0u);
  EXPECT_EQ(head_(path.c_str(), 0), 0u);
  ASSERT_EQ(messages_.seen.size(), 2u);
  EXPECT_EQ(messages_.seen[0], "ERROR: Function CreateFile(" + path + ") has an error at 1!! 2");
  EXPECT_EQ(messages_.seen[1], messages_.seen[0]);
}

TEST_F(SumkitTest, SumsEveryTableOfABuiltFontLikeItsDirectory) {
  Bytes font = testsupport::SampleFont().Build();
  std::string path = Write("font.ttf", font);
  for (const auto& entry : testsupport::ReadEntries(font)) {
    if (entry.tag == "head") continue;
    EXPECT_EQ(table_(path.c_str(), static_cast<int32_t>(entry.offset), entry.length), entry.checkSum) << entry.tag;
  }
}

TEST_F(SumkitTest, GetNameWritesVtbl) {
  auto getName = library_.ResolveAs<int (*)(char*)>("GetName");
  ASSERT_NE(getName, nullptr);
  char buffer[8];
  std::fill(buffer, buffer + 8, 'x');
  EXPECT_EQ(getName(buffer), 1);
  EXPECT_STREQ(buffer, "VTBL");
  EXPECT_EQ(buffer[5], 'x');
}

#if defined(_WIN32)
// The export directory as another program sees it: the module name and the
// four exports with their ordinals, nothing else.
TEST(SumkitExports, OnlyTheLibrarysOwnNamesAreExported) {
  std::string lib = platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName);
  HMODULE module = ::LoadLibraryW(platform::Widen(lib).c_str());
  ASSERT_NE(module, nullptr);
  const auto* base = reinterpret_cast<const uint8_t*>(module);
  const auto* headers =
      reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& place = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + place.VirtualAddress);
  EXPECT_STREQ(reinterpret_cast<const char*>(base + exports->Name), "sumkit.dll");
  EXPECT_EQ(exports->NumberOfFunctions, 4u);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  std::vector<std::pair<std::string, DWORD>> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    found.emplace_back(reinterpret_cast<const char*>(base + names[i]), exports->Base + ordinals[i]);
  EXPECT_EQ(found, (std::vector<std::pair<std::string, DWORD>>{
                       {"CalcHeadCheckSum", 1}, {"CalcTblCheckSum", 2}, {"GetName", 3}, {"SumkitSetMessageHandler", 4}}));
  ::FreeLibrary(module);
}
#else
TEST(SumkitExports, OnlyTheLibrarysOwnNamesAreExported) {
  std::string lib = platform::JoinPath(testsupport::BinFolder(), editor::kChecksumLibraryName);
  auto result = testsupport::RunCommand("nm -D --defined-only '" + lib + "' | awk '{print $3}'");
  if (result.status != 0) GTEST_SKIP() << "nm is not available";
  std::istringstream lines(result.out);
  std::vector<std::string> names;
  for (std::string name; std::getline(lines, name);)
    if (!name.empty() && name.rfind("_", 0) != 0) names.push_back(name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"CalcHeadCheckSum", "CalcTblCheckSum", "GetName",
                                             "SumkitSetMessageHandler"}));
}
#endif

}  // namespace
