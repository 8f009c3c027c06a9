#include "macconv/extraction.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "macconv/message_text.h"
#include "platform/output_file.h"
#include "shell/text.h"

namespace macconv {
namespace {

constexpr std::array<uint8_t, 4> kTrueSignature = {'t', 'r', 'u', 'e'};
constexpr std::array<uint8_t, 4> kMor0Signature = {'m', 'o', 'r', '0'};
constexpr std::array<uint8_t, 4> kSfntVersion1 = {0x00, 0x01, 0x00, 0x00};

constexpr int64_t kHalfWindow = 128;
constexpr int64_t kWindow = 256;
// Windows are searched over blocks of this many bytes of the file.
constexpr int64_t kSearchBlock = 64 * 1024;

// Searches the windows that start at first, first + 128, ... before `last`
// (file offsets; the first window of a file starts at -128, its first half
// being the zeros before the file). `buffer` holds the file's bytes from
// `bufferStart` on, at least up to the end of the last window or the file.
std::optional<uint64_t> SearchWindows(std::span<const uint8_t> buffer, int64_t bufferStart, int64_t first,
                                      int64_t last, int64_t fileSize) {
  for (int64_t window = first; window < last; window += kHalfWindow) {
    // A window exists only while the read of its second half returns bytes.
    if (window + kHalfWindow >= fileSize) return std::nullopt;
    int64_t begin = std::max<int64_t>(window, 0);
    int64_t end = std::min(window + kWindow, fileSize);
    auto found = FindSignatureInWindow(buffer.subspan(static_cast<size_t>(begin - bufferStart),
                                                      static_cast<size_t>(end - begin)));
    if (found) return static_cast<uint64_t>(begin) + *found;
  }
  return std::nullopt;
}

}  // namespace

std::optional<size_t> FindBytes(std::span<const uint8_t> data, std::span<const uint8_t> pattern) {
  if (pattern.empty() || data.size() < pattern.size()) return std::nullopt;
  auto found = std::search(data.begin(), data.end(), pattern.begin(), pattern.end());
  if (found == data.end()) return std::nullopt;
  return static_cast<size_t>(found - data.begin());
}

std::optional<size_t> FindSignatureInWindow(std::span<const uint8_t> window) {
  if (auto found = FindBytes(window, kTrueSignature)) return found;
  return FindBytes(window, kMor0Signature);
}

std::optional<uint64_t> FindFontStart(std::span<const uint8_t> input) {
  int64_t size = static_cast<int64_t>(input.size());
  return SearchWindows(input, 0, -kHalfWindow, size, size);
}

std::optional<uint64_t> FindFontStart(const core::ReadableFile& input) {
  const int64_t size = static_cast<int64_t>(input.size());
  std::vector<uint8_t> buffer;
  // Block b searches the windows starting in [b - 128, b + kSearchBlock - 128),
  // which need the bytes [b - 128, b + kSearchBlock + 128).
  for (int64_t block = 0; block < size; block += kSearchBlock) {
    int64_t readStart = std::max<int64_t>(block - kHalfWindow, 0);
    int64_t readEnd = std::min(block + kSearchBlock + kHalfWindow, size);
    buffer.resize(static_cast<size_t>(readEnd - readStart));
    size_t got = input.ReadAtZeroFilled(static_cast<uint64_t>(readStart), buffer.data(), buffer.size());
    if (got < buffer.size()) buffer.resize(got);
    int64_t bufferedEnd = readStart + static_cast<int64_t>(buffer.size());
    auto found = SearchWindows(buffer, readStart, block - kHalfWindow, block + kSearchBlock - kHalfWindow,
                               std::min(bufferedEnd, size));
    if (found || bufferedEnd < readEnd) return found;
  }
  return std::nullopt;
}

shell::Outcome ExtractTrueType(const std::string& inputName, shell::FileChooser& chooser, shell::MessageSink& messages) {
  core::ReadableFile input;
  if (!input.Open(inputName)) {
    messages.Show({"ERROR", CreateFileFailedText(inputName)});
    return shell::Outcome::kFailed;
  }
  std::optional<uint64_t> start = FindFontStart(input);
  if (!start) {
    messages.Show({"Message", "Can't find TrueType Font."});
    return shell::Outcome::kFailed;
  }
  std::optional<std::string> outputName = chooser.Choose(SaveRequest("Drumlin File Save", inputName + ".ttf"));
  if (!outputName || outputName->empty()) return shell::Outcome::kCancelled;

  platform::AtomicOutput output;
  if (!output.Begin(*outputName)) {
    messages.Show({"ERROR", CreateFileFailedText(*outputName)});
    return shell::Outcome::kFailed;
  }
  // The signature becomes the version number; the rest is copied as it is.
  output.Write(kSfntVersion1.data(), kSfntVersion1.size());
  uint64_t position = *start + kSfntVersion1.size();
  uint64_t copied = 0;
  if (position < input.size() &&
      output.CopyFrom(input, position, input.size() - position, &copied) == platform::CopyStatus::kReadFailed) {
    // The file shrank or could not be read: no partial font.
    output.Abandon();
    messages.Show({"ERROR", ReadFileFailedText(inputName)});
    return shell::Outcome::kFailed;
  }
  uint64_t written = output.size();
  if (!output.Commit()) {
    int error = output.error();
    messages.Show({"ERROR", error == EEXIST ? CreateFileFailedText(*outputName)
                                          : WriteFileFailedText(*outputName, error)});
    return shell::Outcome::kFailed;
  }
  messages.Show({"Message", shell::FormatText("Successfully Extracted the TrueType Font. (%llu bytes)",
                                      static_cast<unsigned long long>(written))});
  return shell::Outcome::kDone;
}

}  // namespace macconv
