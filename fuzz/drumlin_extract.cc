// The Mac converter's extraction on data it did not write, through the
// headless commands. With a signature the font is the sfnt version in its
// place, then the rest of the input; without one it is the first 'sfnt'
// resource of the Mac data, byte for byte. The search over the file finds
// what the search over the bytes finds. The resources read lie inside the
// input and share no bytes, and --extract-all writes exactly them. Every
// third input answers the chooser with a file that exists, which must stay
// untouched.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>

#include "core/io/readable_file.h"
#include "fuzz/scratch_folder.h"
#include "macconv/engine/extraction.h"
#include "macconv/headless/drumlin_headless.h"
#include "macconv/engine/mac_containers.h"

using fuzzsupport::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzzsupport::ScratchFolder& scratch = fuzzsupport::ScratchFolder::Get();
  scratch.Clear();
  std::span<const uint8_t> input(data, size);
  std::string inputPath = scratch.Write("suitcase.bin", input);
  const std::string taken = "a font that was here before";
  std::string takenPath = scratch.Write("taken.ttf", taken);
  bool answerTaken = size % 3 == 0;
  std::string outPath = answerTaken ? takenPath : scratch.File("out.ttf");

  shell::NullMessages messages;
  std::optional<int> status = macconv::RunHeadless({"--extract", inputPath, outPath}, messages);
  Check(status && (*status == 0 || *status == 1), "the extract command ends with 0 or 1");
  Check(fuzzsupport::ReadFileText(inputPath) == std::string(input.begin(), input.end()), "the input is never written");
  Check(fuzzsupport::ReadFileText(takenPath) == taken, "a file that exists is never replaced");

  std::optional<uint64_t> start = macconv::FindFontStart(input);
  core::ReadableFile file;
  Check(file.Open(inputPath), "the input opens");
  Check(macconv::FindFontStart(file) == start, "the file search agrees with the search over the bytes");
  const macconv::MacFonts container = macconv::ReadMacFonts(file);
  Check(!container.readFailed, "a file in memory reads whole");
  std::map<uint64_t, uint64_t> ranges;
  for (const macconv::SfntResource& font : container.fonts) {
    Check(font.length > 0 && font.offset + font.length <= size, "a resource lies inside the input");
    ranges[font.offset] = font.offset + font.length;
  }
  Check(ranges.size() == container.fonts.size(), "no two resources start together");
  uint64_t end = 0;
  for (const auto& [from, to] : ranges) {
    Check(from >= end, "resources share no bytes");
    end = to;
  }

  if (answerTaken || (!start && container.fonts.empty())) {
    Check(*status == 1, "no font or a taken name is a failure");
    if (!answerTaken) Check(!fuzzsupport::FileExists(outPath), "a failed extraction leaves no output");
  } else if (start) {
    Check(*status == 0, "a found signature gives a font");
    Check(*start + 4 <= size, "the signature lies in the input");
    std::string expected = std::string("\x00\x01\x00\x00", 4) +
                           std::string(reinterpret_cast<const char*>(data) + *start + 4, size - *start - 4);
    Check(fuzzsupport::ReadFileText(outPath) == expected, "the font is the data from the signature on");
  } else {
    Check(*status == 0, "a resource gives a font");
    const macconv::SfntResource& first = container.fonts.front();
    Check(fuzzsupport::ReadFileText(outPath) ==
              std::string(reinterpret_cast<const char*>(data) + first.offset, first.length),
          "the font is the first resource as stored");
  }

  const std::string folder = scratch.File("all");
  std::filesystem::create_directory(folder);
  status = macconv::RunHeadless({"--extract-all", inputPath, folder}, messages);
  Check(status && *status == (container.fonts.empty() ? 1 : 0), "--extract-all succeeds exactly when there are fonts");
  size_t written = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string bytes = fuzzsupport::ReadFileText(entry.path().string());
    bool matches = false;
    for (const macconv::SfntResource& font : container.fonts) {
      matches = matches || bytes == std::string(reinterpret_cast<const char*>(data) + font.offset, font.length);
    }
    Check(matches, "every file written is one resource as stored");
    ++written;
  }
  Check(written == container.fonts.size(), "--extract-all writes every resource");
  return 0;
}
