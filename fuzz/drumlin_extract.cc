// The Mac converter's extraction on data it did not write, through the
// headless command. The font appears only when a signature was found: the
// sfnt version in its place, then the rest of the input. The search over the
// file finds what the search over the bytes finds. Every third input answers
// the chooser with a file that exists, which must stay untouched.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "core/readable_file.h"
#include "fuzz/scratch_folder.h"
#include "macconv/extraction.h"
#include "macconv/headless/drumlin_headless.h"

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
  if (answerTaken || !start) {
    Check(*status == 1, "no signature or a taken name is a failure");
    if (!answerTaken) Check(!fuzzsupport::FileExists(outPath), "a failed extraction leaves no output");
    return 0;
  }
  Check(*status == 0, "a found signature gives a font");
  Check(*start + 4 <= size, "the signature lies in the input");
  std::string expected = std::string("\x00\x01\x00\x00", 4) +
                         std::string(reinterpret_cast<const char*>(data) + *start + 4, size - *start - 4);
  Check(fuzzsupport::ReadFileText(outPath) == expected, "the font is the data from the signature on");
  return 0;
}
