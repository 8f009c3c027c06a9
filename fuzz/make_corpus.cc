// Writes the starting corpus of every fuzz target from the test font
// builder:  make_fuzz_corpus OUTFOLDER   (OUTFOLDER/<target>/<case>).
// The committed corpus under fuzz/corpus was made by this program; findings
// that the fuzzers turned up are kept beside its files.
#include <filesystem>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/input_parts.h"
#include "platform/profile.h"
#include "tests/support/font_builder.h"
#include "tests/support/temp_dir.h"
#include "tools/pellout/os2_to_profile.h"

namespace fs = std::filesystem;
using testsupport::Bytes;

namespace {

// Writes corpus files into OUTFOLDER/<target>/.
class CorpusWriter {
 public:
  explicit CorpusWriter(std::string folder) : folder_(std::move(folder)) {}
  void operator()(const std::string& target, const std::string& name, const Bytes& bytes) const {
    fs::create_directories(folder_ + "/" + target);
    testsupport::WriteBytes(folder_ + "/" + target + "/" + name, bytes);
  }
  void operator()(const std::string& target, const std::string& name, const std::string& text) const {
    (*this)(target, name, Bytes(text.begin(), text.end()));
  }

 private:
  std::string folder_;
};

Bytes Cat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
// A resource fork whose 'sfnt' resources are `fonts`, IDs 128 on, unnamed.
Bytes ResourceFork(const std::vector<Bytes>& fonts);

Bytes Prefix(std::initializer_list<uint8_t> head, const Bytes& rest) { return Cat(Bytes(head), rest); }
Bytes First(const Bytes& bytes, size_t count) { return Bytes(bytes.begin(), bytes.begin() + std::min(count, bytes.size())); }
std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) text += fuzzsupport::kPartMarker;
    text += parts[i];
  }
  return text;
}

void Put16(Bytes& b, uint16_t v);
void Put32(Bytes& b, uint32_t v);

Bytes ResourceFork(const std::vector<Bytes>& fonts) {
  Bytes data, map(24);
  for (const Bytes& font : fonts) {
    Put32(data, static_cast<uint32_t>(font.size()));
    data.insert(data.end(), font.begin(), font.end());
  }
  Put16(map, 28);
  Put16(map, static_cast<uint16_t>(28 + 2 + 8 + 12 * fonts.size()));
  Put16(map, 0);
  for (char c : std::string("sfnt")) map.push_back(static_cast<uint8_t>(c));
  Put16(map, static_cast<uint16_t>(fonts.size() - 1));
  Put16(map, 10);
  uint32_t offset = 0;
  for (size_t i = 0; i < fonts.size(); ++i) {
    Put16(map, static_cast<uint16_t>(128 + i));
    Put16(map, 0xFFFF);
    Put32(map, offset);
    Put32(map, 0);
    offset += 4 + static_cast<uint32_t>(fonts[i].size());
  }
  Bytes fork;
  for (uint32_t word : {16u, 16u + static_cast<uint32_t>(data.size()), static_cast<uint32_t>(data.size()),
                        static_cast<uint32_t>(map.size())}) {
    Put32(fork, word);
  }
  return Cat(Cat(fork, data), map);
}

void Put16(Bytes& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v >> 8));
  b.push_back(static_cast<uint8_t>(v));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, static_cast<uint16_t>(v >> 16));
  Put16(b, static_cast<uint16_t>(v));
}

// A Mac Japanese format 2 subtable: one-byte codes through subheader 0, the
// lead byte 0x82 (hiragana) through subheader 1.
Bytes MacFormat2() {
  Bytes sub;
  Put16(sub, 2);
  Put16(sub, 0);  // length, patched below
  Put16(sub, 0);  // language
  for (int high = 0; high < 256; ++high) Put16(sub, high == 0x82 ? 8 : 0);
  // subheader 0 at 518: all 256 one-byte codes; its glyphs start at 518 + 16.
  Put16(sub, 0);
  Put16(sub, 256);
  Put16(sub, 0);
  Put16(sub, 16 - 6);
  // subheader 1 at 526: 0x9F..0xF1; its glyphs follow those of subheader 0.
  Put16(sub, 0x9F);
  Put16(sub, 83);
  Put16(sub, 0);
  Put16(sub, 16 + 512 - 8 - 6);
  for (int code = 0; code < 256; ++code) Put16(sub, code < 0x20 ? 0 : static_cast<uint16_t>(code - 0x1D));
  for (int k = 0; k < 83; ++k) Put16(sub, static_cast<uint16_t>(300 + k));
  sub[2] = static_cast<uint8_t>(sub.size() >> 8);
  sub[3] = static_cast<uint8_t>(sub.size());
  return sub;
}

// A cmap table with the given (platform, encoding, subtable) records.
Bytes MakeCmapOf(const std::vector<std::tuple<uint16_t, uint16_t, Bytes>>& records) {
  Bytes out;
  Put16(out, 0);
  Put16(out, static_cast<uint16_t>(records.size()));
  uint32_t offset = 4 + 8 * static_cast<uint32_t>(records.size());
  for (const auto& [platform, encoding, sub] : records) {
    Put16(out, platform);
    Put16(out, encoding);
    Put32(out, offset);
    offset += static_cast<uint32_t>(sub.size());
  }
  for (const auto& record : records) out = Cat(out, std::get<2>(record));
  return out;
}

Bytes Format0() {
  Bytes sub;
  Put16(sub, 0);
  Put16(sub, 262);
  Put16(sub, 0);
  for (int code = 0; code < 256; ++code) sub.push_back(static_cast<uint8_t>(code));
  return sub;
}

Bytes Format12() {
  Bytes sub;
  Put16(sub, 12);
  Put16(sub, 0);
  Put32(sub, 28);
  Put32(sub, 0);
  Put32(sub, 1);
  Put32(sub, 0x20);
  Put32(sub, 0x7E);
  Put32(sub, 1);
  return sub;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_corpus OUTFOLDER\n");
    return 2;
  }
  const CorpusWriter Put(argv[1]);
  const CorpusWriter& PutText = Put;
  using namespace testsupport;

  Bytes sample = SampleFont().Build();
  FontBuilder second;
  second.AddTable("head", MakeHead(0, 1000)).AddTable("maxp", MakeMaxp(5)).AddTable("name",
      MakeName({{3, 1, 0x411, 1, Utf16Be("Second")}}));
  Bytes collection = BuildCollection({SampleFont(), second}, /*shareTables=*/true);
  FontBuilder odd;
  odd.AddTable("zz  ", Bytes{1, 2, 3}).AddTable("head", MakeHead()).AddTable("cmap", MakeCmap({0x41}))
      .KeepAddOrder().Unaligned().SkewChecksum("cmap", 5).SkewAdjustment(9);
  Bytes oddFont = odd.Build();
  Bytes overlapping = sample;
  PatchEntry(overlapping, 1, ReadEntries(sample)[0].offset, 60);  // two tables share bytes
  Bytes hugeCount = First(collection, 12);
  hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = 0xFF;

  Put("font_directory", "sample.ttf", sample);
  Put("font_directory", "collection.ttc", collection);
  Put("font_directory", "unordered_unaligned.ttf", oddFont);
  Put("font_directory", "overlapping.ttf", overlapping);
  Put("font_directory", "cut_in_directory.ttf", First(sample, 40));
  Put("font_directory", "numfonts_ffffffff.ttc", hugeCount);

  Put("quillet_report", "sample.ttf", Prefix({0}, sample));
  Put("quillet_report", "collection.ttc", Prefix({1}, collection));
  Put("quillet_report", "unordered_unaligned.ttf", Prefix({0}, oddFont));
  Put("quillet_report", "cut_in_tables.ttf", Prefix({0}, First(sample, 200)));
  Put("quillet_report", "font_named_ttc.ttc", Prefix({1}, sample));

  Put("quillet_edit", "recalc.ttf", Prefix({0, 0, 'a', 'b', 'c', 'd'}, oddFont));
  Put("quillet_edit", "recalc_collection.ttc", Prefix({4, 0, 'a', 'b', 'c', 'd'}, collection));
  Put("quillet_edit", "export.ttf", Prefix({1, 3, 'a', 'b', 'c', 'd'}, sample));
  Put("quillet_edit", "add.ttf", Prefix({2, 40, 'k', 'e', 'r', 'n'}, sample));
  Put("quillet_edit", "delete.ttf", Prefix({3, 6, 'a', 'b', 'c', 'd'}, sample));

  Bytes os2 = MakeOs2("MRLW");
  Bytes blankVendor = MakeOs2(" A ");
  Put("pellout_table", "os2.os_2", os2);
  Put("pellout_table", "blank_vendor.os_2", blankVendor);
  Put("pellout_table", "short.os_2", First(os2, 40));
  Put("pellout_table", "long.os_2", Cat(os2, Bytes(10, 0xEE)));

  platform::Profile pellout;
  core::Os2Record record{};
  std::copy(os2.begin(), os2.begin() + 86, record.begin());
  tools::PutOs2Profile(record, tools::FieldsHeld(1, 86), "new.os_2", &pellout);
  std::string pelloutText = pellout.Serialize();
  PutText("pellin_profile", "pellout_made.ini", pelloutText);
  PutText("pellin_profile", "taken_name.ini", "[SUMMARY]\r\nFileName=taken.os_2\r\nversion=3\r\n");
  PutText("pellin_profile", "hand_written.ini",
          "; edited by hand\n[summary]\nfilename = \"new.os_2\"\nxAvgCharWidth=-12\nfsType=0x0004\n"
          "achVendID='AB  '\nulUnicodeRange1=0xFFFFFFFF\n[PANOSE]\nbWeight=+7\nbXHeight=4294967295\n");
  PutText("pellin_profile", "no_name.ini", "[SUMMARY]\nversion=1\n");

  Bytes name = MakeName({{1, 0, 0, 1, AsciiBytes("Sample")},
                         {3, 1, 0x409, 1, Utf16Be("Sample")},
                         {3, 1, 0x411, 4, Utf16Be("Sample Regular")}});
  Put("corvout_table", "name.name", name);
  Put("corvout_table", "name_swapped.name", Cat(name, Bytes{0}));  // odd size: swap mode
  Put("corvout_table", "cut_in_records.name", First(name, 20));
  Bytes shared = name;
  shared[6 + 12 + 11] = 0;  // two records share their string
  Put("corvout_table", "shared_string.name", shared);

  std::string corvout =
      "[SUMMARY]\r\nFileName=new.name\r\nnumOfNameRec=3\r\n"
      "[0]\r\nPlatformID=1\r\nencodingID=0\r\nLanguageID=0\r\nNameID=1\r\nStringLen=6\r\nFileName=000.txt\r\n"
      "[1]\r\nPlatformID=3\r\nencodingID=1\r\nLanguageID=1033\r\nNameID=1\r\nStringLen=12\r\nFileName=001.txt\r\n"
      "[2]\r\nPlatformID=3\r\nencodingID=1\r\nLanguageID=1041\r\nNameID=4\r\nStringLen=4\r\nFileName=002.txt\r\n";
  std::string utf16(reinterpret_cast<const char*>(Utf16Be("Sample").data()), 12);
  PutText("corvin_profile", "three_records.ini", Joined({corvout, "Sample", utf16, std::string("\xFE\xFF\x30\x42", 4)}));
  PutText("corvin_profile", "swap_skip_two.ini",
          Joined({"u2\n" + corvout, "Sample", utf16, std::string("\xFF\xFE\x42\x30", 4)}));
  PutText("corvin_profile", "missing_text_file.ini", Joined({corvout, "Sample"}));
  PutText("corvin_profile", "taken_name.ini",
          Joined({"[SUMMARY]\nFileName=000.txt\nnumOfNameRec=1\n[0]\nFileName=000.txt\n", "x"}));

  PutText("profile_reader", "pellout_made.ini", pelloutText);
  PutText("profile_reader", "corvout_made.ini", corvout);
  PutText("profile_reader", "set_new_section.ini",
          Joined({"\xEF\xBB\xBF[A]\nk=1\n\n[b]\n  K2 = ' two '\n", "NEW", "key", " \"value\" "}));
  PutText("profile_reader", "set_existing_key.ini",
          Joined({"[SUMMARY]\r\nFileName=a.os_2\r\nversion=1\r\n[summary]\r\nversion=2", "Summary", "VERSION",
                  "0x10", "summary"}));

  Bytes format2 = MacFormat2();
  Put("drumlin_cmap", "mac_japanese.cmap", MakeCmapOf({{0, 3, Format0()}, {1, 1, format2}}));
  Bytes sharing = MakeCmapOf({{1, 1, format2}, {1, 1, Bytes{}}});
  std::copy(sharing.begin() + 8, sharing.begin() + 12, sharing.begin() + 16);  // both records, one subtable
  Put("drumlin_cmap", "shared_subtable.cmap", sharing);
  Put("drumlin_cmap", "formats_0_12_unknown.cmap",
      MakeCmapOf({{1, 0, Format0()}, {3, 10, Format12()}, {3, 1, Bytes{0, 99, 0, 4}}}));
  Put("drumlin_cmap", "cut_in_subtable.cmap", First(MakeCmapOf({{1, 1, format2}}), 300));

  Bytes sjis = {0x82, 0xA0, 0x82, 0xA2, 0x93, 0xFA, 0x96, 0x7B};  // two hiragana and two kanji
  Put("drumlin_name", "mac_japanese.name",
      MakeName({{1, 0, 0, 1, AsciiBytes("Sample")}, {1, 1, 11, 1, sjis}, {1, 1, 11, 4, Cat(sjis, AsciiBytes(" W3"))}}));
  Put("drumlin_name", "cut_in_strings.name", First(MakeName({{1, 1, 11, 1, sjis}}), 20));
  Bytes gap = MakeName({{1, 1, 11, 1, sjis}});
  gap[5] = static_cast<uint8_t>(gap[5] + 2);  // strings do not follow the records
  Put("drumlin_name", "strings_apart.name", Cat(Bytes{0, 0}, gap));

  Bytes resource(300, 0x11);
  Bytes trueFont = sample;
  trueFont[0] = 't', trueFont[1] = 'r', trueFont[2] = 'u', trueFont[3] = 'e';
  Put("drumlin_extract", "true_at_300.bin", First(Cat(resource, trueFont), 1400));
  Bytes mor0 = trueFont;
  mor0[0] = 'm', mor0[1] = 'o', mor0[2] = 'r', mor0[3] = '0';
  Put("drumlin_extract", "mor0_before_true.bin", First(Cat(Cat(Bytes(10, 0), mor0), Cat(Bytes(100, 0), trueFont)), 1300));
  Put("drumlin_extract", "across_window_edge.bin", First(Cat(Bytes(126, 0x20), trueFont), 700));
  Put("drumlin_extract", "no_signature.bin", Bytes(500, 0x74));
  const Bytes suitcase = ResourceFork({First(sample, 300), First(sample, 200)});
  Put("drumlin_extract", "two_fonts.dfont", suitcase);
  Bytes macBinary(128);
  macBinary[1] = 1, macBinary[2] = 'F';
  macBinary[89] = static_cast<uint8_t>(suitcase.size() >> 8), macBinary[90] = static_cast<uint8_t>(suitcase.size());
  Put("drumlin_extract", "two_fonts.macbinary", Cat(macBinary, suitcase));
  Bytes appleDouble;
  for (uint32_t word : {0x00051607u, 0x00020000u, 0u, 0u, 0u, 0u}) Put32(appleDouble, word);
  Put16(appleDouble, 1);
  for (uint32_t word : {2u, 38u, static_cast<uint32_t>(suitcase.size())}) Put32(appleDouble, word);
  Put("drumlin_extract", "._two_fonts", Cat(appleDouble, suitcase));
  return 0;
}
