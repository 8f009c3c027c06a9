#include "macconv/engine/mac_containers.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/io/byte_cursor.h"
#include "core/tables/record.h"

namespace macconv {
namespace {

constexpr uint32_t kAppleSingleMagic = 0x00051600;
constexpr uint32_t kAppleDoubleMagic = 0x00051607;
constexpr uint32_t kAppleFileVersion1 = 0x00010000;
constexpr uint32_t kAppleFileVersion2 = 0x00020000;
constexpr uint32_t kDataForkEntry = 1;
constexpr uint32_t kResourceForkEntry = 2;

struct AppleFileHeader {
  uint32_t magic = 0;
  uint32_t version = 0;
  std::array<uint8_t, 16> filler{};  // version 1: the home file system's name
  uint16_t entryCount = 0;

  static constexpr size_t kSize = 26;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.magic);
    io.U32(r.version);
    io.Bytes(r.filler);
    io.U16(r.entryCount);
  }
};
static_assert(core::CheckedRecord<AppleFileHeader>());

struct AppleFileEntry {
  uint32_t id = 0;      // 1 data fork, 2 resource fork, 3 real name, ...
  uint32_t offset = 0;  // from the file's start
  uint32_t length = 0;

  static constexpr size_t kSize = 12;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.id);
    io.U32(r.offset);
    io.U32(r.length);
  }
};
static_assert(core::CheckedRecord<AppleFileEntry>());

// The parts of the MacBinary header that place the forks.
constexpr size_t kMacBinaryHeader = 128;
constexpr size_t kNameLengthAt = 1;
constexpr size_t kZeroAt74 = 74;
constexpr size_t kZeroAt82 = 82;
constexpr size_t kDataLengthAt = 83;
constexpr size_t kResourceLengthAt = 87;
constexpr size_t kMacBinaryIUnusedFrom = 99;  // zero up to the end in MacBinary I
constexpr size_t kSecondaryHeaderAt = 120;
constexpr size_t kCrcAt = 124;

uint64_t PadTo128(uint64_t length) { return (length + 127) / 128 * 128; }

struct Fork {
  uint64_t start = 0;
  uint64_t length = 0;
};

// Reads the forks in order until one holds fonts; empty forks are passed by.
void AddFonts(const core::ReadableFile& file, const std::vector<Fork>& forks, MacFonts& result) {
  for (const Fork& fork : forks) {
    if (fork.length == 0) continue;
    ResourceFonts read = ReadResourceFork(file, fork.start, fork.length);
    if (read.readFailed) {
      result.readFailed = true;
      return;
    }
    result.damaged += read.damaged;
    if (!read.fonts.empty()) {
      result.fonts = std::move(read.fonts);
      return;
    }
  }
}

std::optional<MacFonts> ReadAppleFile(const core::ReadableFile& file, std::span<const uint8_t> head) {
  bool whole = false;
  const AppleFileHeader header = core::DecodeRecord<AppleFileHeader>(head, &whole);
  if (!whole || (header.magic != kAppleSingleMagic && header.magic != kAppleDoubleMagic) ||
      (header.version != kAppleFileVersion1 && header.version != kAppleFileVersion2)) {
    return std::nullopt;
  }
  MacFonts result;
  result.container = header.magic == kAppleSingleMagic ? MacContainer::kAppleSingle : MacContainer::kAppleDouble;
  const uint64_t entries = core::RecordsThatFit(file.size(), AppleFileHeader::kSize, header.entryCount,
                                                AppleFileEntry::kSize, core::Rounding::kWholeRecords);
  std::vector<uint8_t> entryBytes;
  if (!ReadClipped(file, AppleFileHeader::kSize, entries * AppleFileEntry::kSize, &entryBytes)) {
    result.readFailed = true;
    return result;
  }
  core::ByteCursor cursor(entryBytes);
  std::optional<Fork> resourceFork, dataFork;
  for (uint64_t i = 0; i < entries; ++i) {
    const AppleFileEntry entry = core::ReadRecord<AppleFileEntry>(cursor);
    Fork fork{entry.offset, entry.length};
    if (entry.id == kResourceForkEntry && !resourceFork) resourceFork = fork;
    if (entry.id == kDataForkEntry && !dataFork) dataFork = fork;
  }
  std::vector<Fork> forks;
  if (resourceFork) forks.push_back(*resourceFork);
  if (dataFork) forks.push_back(*dataFork);
  AddFonts(file, forks, result);
  return result;
}

std::optional<MacFonts> ReadMacBinary(const core::ReadableFile& file, std::span<const uint8_t> head) {
  if (head.size() < kMacBinaryHeader) return std::nullopt;
  const core::ByteCursor header(head.first(kMacBinaryHeader));
  const uint8_t nameLength = head[kNameLengthAt];
  if (head[0] != 0 || nameLength < 1 || nameLength > 63 || head[kZeroAt74] != 0) return std::nullopt;
  // MacBinary II and III carry a CRC; MacBinary I has zeros where they keep it.
  const bool crcRight = MacBinaryCrc(head.first(kCrcAt)) == header.U16At(kCrcAt);
  const bool versionOne = head[kZeroAt82] == 0 &&
                          std::all_of(head.begin() + kMacBinaryIUnusedFrom, head.begin() + kMacBinaryHeader,
                                      [](uint8_t b) { return b == 0; });
  if (!crcRight && !versionOne) return std::nullopt;

  const uint64_t dataLength = header.U32At(kDataLengthAt);
  const uint64_t resourceLength = header.U32At(kResourceLengthAt);
  const uint64_t dataStart = kMacBinaryHeader + PadTo128(header.U16At(kSecondaryHeaderAt));
  const uint64_t resourceStart = dataStart + PadTo128(dataLength);
  // The forks begin inside the file; the last may be cut short by its end.
  if (dataStart + dataLength > file.size() && resourceLength) return std::nullopt;
  if (resourceStart > file.size() && resourceLength) return std::nullopt;
  MacFonts result;
  result.container = MacContainer::kMacBinary;
  AddFonts(file, {{resourceStart, resourceLength}, {dataStart, dataLength}}, result);
  return result;
}

}  // namespace

const char* ContainerName(MacContainer container) {
  switch (container) {
    case MacContainer::kResourceFork: return "resource fork";
    case MacContainer::kMacBinary: return "MacBinary file";
    case MacContainer::kAppleSingle: return "AppleSingle file";
    case MacContainer::kAppleDouble: return "AppleDouble file";
    case MacContainer::kNone: break;
  }
  return "";
}

uint16_t MacBinaryCrc(std::span<const uint8_t> bytes) {
  uint16_t crc = 0;
  for (uint8_t byte : bytes) {
    crc ^= static_cast<uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
  }
  return crc;
}

MacFonts ReadMacFonts(const core::ReadableFile& file) {
  MacFonts result;
  std::vector<uint8_t> head;
  if (!ReadClipped(file, 0, kMacBinaryHeader, &head)) {
    result.readFailed = true;
    return result;
  }
  if (std::optional<MacFonts> apple = ReadAppleFile(file, head)) return std::move(*apple);

  ResourceFonts fork = ReadResourceFork(file, 0, file.size());
  if (fork.readFailed || fork.valid) {
    result.container = MacContainer::kResourceFork;
    result.readFailed = fork.readFailed;
    result.fonts = std::move(fork.fonts);
    result.damaged = fork.damaged;
    return result;
  }
  if (std::optional<MacFonts> macBinary = ReadMacBinary(file, head)) return std::move(*macBinary);
  return result;
}

}  // namespace macconv
