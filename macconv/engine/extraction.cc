#include "macconv/engine/extraction.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <set>
#include <vector>

#include "macconv/engine/mac_containers.h"
#include "macconv/engine/message_text.h"
#include "platform/output_file.h"
#include "platform/paths.h"
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
// A resource's name in a file name keeps at most this many characters.
constexpr size_t kMostNameCharacters = 63;

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

// The first window (0 for the one starting at -128) that holds all four
// bytes of a signature at `position`.
uint64_t FirstWindowOf(uint64_t position) {
  return position < kWindow - kHalfWindow - 4 ? 0 : (position + 3) / static_cast<uint64_t>(kHalfWindow);
}

// The fonts of the input read as Mac resource data; false, after the
// message, when it could not be read or holds none.
bool ReadContainerFonts(const core::ReadableFile& input, const std::string& inputName, shell::MessageSink& messages,
                        MacFonts* container) {
  *container = ReadMacFonts(input);
  if (container->readFailed) {
    const int error = input.read_error() ? input.read_error() : EIO;
    messages.Show({"ERROR", ReadFileFailedText(inputName, error), core::ErrorReason(error)});
    return false;
  }
  if (container->fonts.empty()) {
    messages.Show({"Message", "Can't find TrueType Font."});
    return false;
  }
  return true;
}

std::string DamagedNote(size_t damaged) {
  return shell::FormatText("\n%zu damaged 'sfnt' %s left out.", damaged, damaged == 1 ? "resource was" : "resources were");
}

// What the message of a single extraction adds about the container: the
// fonts it holds beyond the one written, and the ones it could not give.
std::string ContainerNotes(const MacFonts& container) {
  std::string notes;
  if (container.fonts.size() > 1) {
    notes += shell::FormatText(
        "\nThis %s holds %zu TrueType fonts; \"Extract All Fonts...\" in the File menu "
        "(drumlin --extract-all IN FOLDER) writes each of them.",
        ContainerName(container.container), container.fonts.size());
  }
  if (container.damaged) notes += DamagedNote(container.damaged);
  return notes;
}

}  // namespace

std::optional<size_t> FindBytes(std::span<const uint8_t> data, std::span<const uint8_t> pattern) {
  if (pattern.empty() || data.size() < pattern.size()) return std::nullopt;
  // The first byte through memchr, which runs at memory speed; the rest
  // compared where it matches.
  const uint8_t* at = data.data();
  const uint8_t* last = data.data() + (data.size() - pattern.size());
  while (at <= last) {
    at = static_cast<const uint8_t*>(std::memchr(at, pattern[0], static_cast<size_t>(last - at) + 1));
    if (!at) return std::nullopt;
    if (std::memcmp(at, pattern.data(), pattern.size()) == 0) return static_cast<size_t>(at - data.data());
    ++at;
  }
  return std::nullopt;
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
  // The windows searched one by one find what this finds in one pass: the
  // first window holding a signature is the first to hold the first "true" or
  // the first "mor0", and where both first occurrences fit in that window,
  // "true" is the one taken. A "mor0" counts only where it lies before the
  // first "true"; both are looked for in each block as it is read.
  const uint64_t size = input.size();
  const uint64_t overlap = kTrueSignature.size() - 1;
  static_assert(kTrueSignature.size() == kMor0Signature.size());
  std::optional<uint64_t> first;
  std::optional<uint64_t> other;
  std::vector<uint8_t> buffer;
  for (uint64_t block = 0; block < size && !first; block += kSearchBlock) {
    const uint64_t end = std::min<uint64_t>(block + kSearchBlock + overlap, size);
    buffer.resize(static_cast<size_t>(end - block));
    const size_t got = input.ReadAt(block, buffer.data(), buffer.size());
    const std::span<const uint8_t> data(buffer.data(), got);
    if (auto found = FindBytes(data, kTrueSignature)) first = block + *found;
    if (!other) {
      if (auto found = FindBytes(data, kMor0Signature)) other = block + *found;
      if (other && first && *other > *first) other.reset();
    }
    if (got < buffer.size()) break;
  }
  if (first && (!other || FirstWindowOf(*first) <= FirstWindowOf(*other))) return first;
  return other;
}

shell::Outcome ExtractTrueType(const std::string& inputName, shell::FileChooser& chooser, shell::MessageSink& messages) {
  core::ReadableFile input;
  if (!input.Open(inputName)) {
    messages.Show({"ERROR", CreateFileFailedText(inputName) + core::OpenErrorNote(input.error()),
                   core::ErrorReason(input.error())});
    return shell::Outcome::kFailed;
  }
  // The signature search decides first; only input without a signature is
  // read as Mac resource data.
  const std::optional<uint64_t> start = FindFontStart(input);
  if (input.read_error() != 0) {
    messages.Show({"ERROR", ReadFileFailedText(inputName, input.read_error()), core::ErrorReason(input.read_error())});
    return shell::Outcome::kFailed;
  }
  MacFonts container;
  if (!start && !ReadContainerFonts(input, inputName, messages, &container)) return shell::Outcome::kFailed;
  std::optional<std::string> outputName = chooser.Choose(SaveRequest("Drumlin File Save", inputName + ".ttf"));
  if (!outputName || outputName->empty()) return shell::Outcome::kCancelled;

  platform::AtomicOutput output;
  if (!output.Begin(*outputName)) {
    messages.Show({"ERROR", CreateFileFailedText(*outputName), core::ErrorReason(output.error())});
    return shell::Outcome::kFailed;
  }
  uint64_t position = 0, length = 0;
  if (start) {
    // The signature becomes the version number; the rest is copied as it is.
    output.Write(kSfntVersion1.data(), kSfntVersion1.size());
    position = *start + kSfntVersion1.size();
    length = position < input.size() ? input.size() - position : 0;
  } else {
    position = container.fonts.front().offset;
    length = container.fonts.front().length;
  }
  uint64_t copied = 0;
  if (length && output.CopyFrom(input, position, length, &copied) == platform::CopyStatus::kReadFailed) {
    // The file shrank or could not be read: no partial font.
    output.Abandon();
    const int error = input.read_error() ? input.read_error() : EIO;
    messages.Show({"ERROR", ReadFileFailedText(inputName, error), core::ErrorReason(error)});
    return shell::Outcome::kFailed;
  }
  uint64_t written = output.size();
  if (!output.Commit()) {
    int error = output.error();
    messages.Show({"ERROR",
                   error == EEXIST ? CreateFileFailedText(*outputName) : WriteFileFailedText(*outputName, error),
                   core::ErrorReason(error)});
    return shell::Outcome::kFailed;
  }
  // A font found by its signature may still lie in a container of several.
  if (start) container = ReadMacFonts(input);
  std::string text = shell::FormatText("Successfully Extracted the TrueType Font. (%llu bytes)",
                                       static_cast<unsigned long long>(written));
  if (!container.readFailed) text += ContainerNotes(container);
  messages.Show({"Message", text, WrittenDetail(*outputName)});
  return shell::Outcome::kDone;
}

std::string FontFileName(const std::string& inputName, const SfntResource& font) {
  std::string safe;
  if (font.name) {
    for (char c : *font.name) {
      if (safe.size() == kMostNameCharacters) break;
      const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                        c == '_' || c == '+';
      safe += kept ? c : '_';
    }
  }
  if (safe.find_first_not_of('_') == std::string::npos) safe = std::to_string(font.id);
  // The fonts of an AppleDouble file "._name" are named after "name": a name
  // that starts with "._" would be hidden and taken for AppleDouble data.
  std::string input = platform::NameOf(inputName);
  if (input.size() > 2 && input.rfind("._", 0) == 0) input.erase(0, 2);
  // A file name has at most 255 bytes: a long input name is cut (never in
  // the middle of a UTF-8 character) so that the font's name, ".ttf" and the
  // ID a second font of the same name gets still fit.
  constexpr size_t kLongestFileName = 255;
  constexpr size_t kDuplicateRoom = 1 + 5 + 1 + 5;  // "." ID "-" N
  const size_t room = kLongestFileName - kDuplicateRoom - safe.size() - std::strlen("..ttf");
  if (input.size() > room) {
    size_t cut = room;
    while (cut > 0 && (static_cast<unsigned char>(input[cut]) & 0xC0) == 0x80) --cut;
    input.resize(cut);
  }
  return input + "." + safe + ".ttf";
}

shell::Outcome ExtractAllFonts(const std::string& inputName, const std::string& folder, shell::MessageSink& messages) {
  core::ReadableFile input;
  if (!input.Open(inputName)) {
    messages.Show({"ERROR", CreateFileFailedText(inputName) + core::OpenErrorNote(input.error()),
                   core::ErrorReason(input.error())});
    return shell::Outcome::kFailed;
  }
  MacFonts container;
  if (!ReadContainerFonts(input, inputName, messages, &container)) return shell::Outcome::kFailed;

  std::vector<std::string> writtenLines, failedLines;
  std::set<std::string> names;
  bool stopped = false;
  for (const SfntResource& font : container.fonts) {
    // Two resources of one name: the later ones carry their IDs as well.
    std::string name = FontFileName(inputName, font);
    const std::string stem = name.substr(0, name.size() - 4);
    for (int n = 1; !names.insert(name).second; ++n) {
      name = stem + "." + std::to_string(font.id) + (n > 1 ? "-" + std::to_string(n) : "") + ".ttf";
    }
    const std::string path = platform::JoinPath(folder, name);
    platform::AtomicOutput output;
    if (!output.Begin(path)) {
      failedLines.push_back(CreateFileFailedText(path) + core::ReasonNote(output.error()));
      // Only a name that is taken leaves the folder open to the others.
      if (output.error() == EEXIST) continue;
      stopped = true;
      break;
    }
    uint64_t copied = 0;
    if (output.CopyFrom(input, font.offset, font.length, &copied) == platform::CopyStatus::kReadFailed) {
      output.Abandon();
      const int error = input.read_error() ? input.read_error() : EIO;
      failedLines.push_back(ReadFileFailedText(inputName, error) + core::ReasonNote(error));
      stopped = true;
      break;
    }
    const uint64_t size = output.size();
    if (!output.Commit()) {
      const int error = output.error();
      failedLines.push_back((error == EEXIST ? CreateFileFailedText(path) : WriteFileFailedText(path, error)) +
                            core::ReasonNote(error));
      if (error == EEXIST) continue;
      stopped = true;
      break;
    }
    writtenLines.push_back(shell::FormatText("%s (%llu bytes)", path.c_str(), static_cast<unsigned long long>(size)));
  }

  const size_t total = container.fonts.size();
  std::string text = failedLines.empty()
                         ? shell::FormatText("Successfully Extracted %zu TrueType %s.", total, total == 1 ? "Font" : "Fonts")
                         : shell::FormatText("Extracted %zu of %zu TrueType Fonts.", writtenLines.size(), total);
  for (const std::string& line : writtenLines) text += "\n" + line;
  for (const std::string& line : failedLines) text += "\n" + line;
  if (stopped && writtenLines.size() + failedLines.size() < total) {
    text += shell::FormatText("\n%zu more not tried.", total - writtenLines.size() - failedLines.size());
  }
  if (container.damaged) text += DamagedNote(container.damaged);
  messages.Show({failedLines.empty() ? "Message" : "ERROR", text});
  return failedLines.empty() ? shell::Outcome::kDone : shell::Outcome::kFailed;
}

}  // namespace macconv
