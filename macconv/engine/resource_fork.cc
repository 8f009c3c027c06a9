#include "macconv/engine/resource_fork.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <map>
#include <set>

#include "core/io/byte_cursor.h"
#include "core/tables/record.h"

namespace macconv {
namespace {

struct ForkHeader {
  uint32_t dataOffset = 0;  // of the resource data, from the fork's start
  uint32_t mapOffset = 0;   // of the resource map, from the fork's start
  uint32_t dataLength = 0;
  uint32_t mapLength = 0;

  static constexpr size_t kSize = 16;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.U32(r.dataOffset);
    io.U32(r.mapOffset);
    io.U32(r.dataLength);
    io.U32(r.mapLength);
  }
};
static_assert(core::CheckedRecord<ForkHeader>());

// The furthest a map's 16-bit offsets reach: a reference list starts at
// most 2 x 0xFFFF bytes in and holds at most 65536 entries of 12 bytes; the
// type list and the names end sooner.
constexpr uint64_t kMapReach = 2 * 0xFFFF + 65536 * 12;

struct MapHeader {
  std::array<uint8_t, 16> headerCopy{};  // the fork header again (or zeros)
  uint32_t nextMap = 0;                  // handle, zero on disk
  uint16_t fileRef = 0;                  // zero on disk
  uint16_t attributes = 0;
  uint16_t typeListOffset = 0;  // from the map's start
  uint16_t nameListOffset = 0;  // from the map's start

  static constexpr size_t kSize = 28;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.Bytes(r.headerCopy);
    io.U32(r.nextMap);
    io.U16(r.fileRef);
    io.U16(r.attributes);
    io.U16(r.typeListOffset);
    io.U16(r.nameListOffset);
  }
};
static_assert(core::CheckedRecord<MapHeader>());

struct TypeEntry {
  std::array<uint8_t, 4> type{};     // 'sfnt', 'FOND', ...
  uint16_t countMinusOne = 0;        // resources of this type, less one
  uint16_t referenceListOffset = 0;  // from the type list's start

  static constexpr size_t kSize = 8;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.Bytes(r.type);
    io.U16(r.countMinusOne);
    io.U16(r.referenceListOffset);
  }
};
static_assert(core::CheckedRecord<TypeEntry>());

struct ReferenceEntry {
  int16_t id = 0;
  uint16_t nameOffset = 0;               // from the name list's start; 0xFFFF: no name
  uint32_t attributesAndDataOffset = 0;  // attributes (high byte), data offset from the data's start (24 bits)
  uint32_t handle = 0;                   // zero on disk

  static constexpr size_t kSize = 12;
  template <typename Io, typename Self>
  static constexpr void Fields(Io& io, Self& r) {
    io.S16(r.id);
    io.U16(r.nameOffset);
    io.U32(r.attributesAndDataOffset);
    io.U32(r.handle);
  }
};
static_assert(core::CheckedRecord<ReferenceEntry>());

constexpr std::array<uint8_t, 4> kSfntType = {'s', 'f', 'n', 't'};
constexpr uint16_t kNoName = 0xFFFF;

bool RangesOverlap(uint64_t aStart, uint64_t aLength, uint64_t bStart, uint64_t bLength) {
  return aLength && bLength && aStart < bStart + bLength && bStart < aStart + aLength;
}

// Font bytes already taken, as [start, end) keyed by start: a reference whose
// bytes fall on them is left out, so that the fonts never share bytes and
// their total never exceeds the resource data.
class TakenRanges {
 public:
  bool Take(uint64_t start, uint64_t end) {
    auto next = taken_.lower_bound(start);
    if (next != taken_.end() && next->first < end) return false;
    if (next != taken_.begin() && std::prev(next)->second > start) return false;
    taken_.emplace(start, end);
    return true;
  }

 private:
  std::map<uint64_t, uint64_t> taken_;
};

std::optional<std::string> ResourceName(const core::ByteCursor& map, const MapHeader& header, uint16_t nameOffset) {
  if (nameOffset == kNoName) return std::nullopt;
  const uint64_t at = uint64_t{header.nameListOffset} + nameOffset;
  std::span<const uint8_t> length = map.Clip(at, 1);
  if (length.empty()) return std::nullopt;
  std::span<const uint8_t> text = map.Clip(at + 1, length[0]);
  if (text.size() != length[0]) return std::nullopt;
  return std::string(text.begin(), text.end());
}

}  // namespace

bool ReadClipped(const core::ReadableFile& file, uint64_t offset, uint64_t count, std::vector<uint8_t>* bytes) {
  const uint64_t size = file.size();
  const uint64_t present = offset < size ? std::min(count, size - offset) : 0;
  *bytes = file.ReadRange(offset, present);
  return bytes->size() == present;
}

ResourceFonts ReadResourceFork(const core::ReadableFile& file, uint64_t start, uint64_t length) {
  ResourceFonts result;
  if (start >= file.size()) return result;
  length = std::min(length, file.size() - start);

  std::vector<uint8_t> headerBytes;
  if (!ReadClipped(file, start, std::min<uint64_t>(length, ForkHeader::kSize), &headerBytes)) {
    result.readFailed = true;
    return result;
  }
  bool whole = false;
  const ForkHeader header = core::DecodeRecord<ForkHeader>(headerBytes, &whole);
  if (!whole) return result;
  // The data and the map lie inside the fork, after its header and apart.
  const uint64_t dataOffset = header.dataOffset, dataLength = header.dataLength;
  const uint64_t mapOffset = header.mapOffset, mapLength = header.mapLength;
  if (dataOffset + dataLength > length || mapOffset + mapLength > length) return result;
  if (mapLength < MapHeader::kSize + 2 || mapOffset < ForkHeader::kSize) return result;
  if (dataLength && dataOffset < ForkHeader::kSize) return result;
  if (RangesOverlap(dataOffset, dataLength, mapOffset, mapLength)) return result;

  // Every place in the map is reached through 16-bit offsets, so no more of
  // it is read than they reach, whatever length the header claims.
  const uint64_t mapRead = std::min(mapLength, kMapReach);
  std::vector<uint8_t> mapBytes;
  if (!ReadClipped(file, start + mapOffset, mapRead, &mapBytes)) {
    result.readFailed = true;
    return result;
  }
  core::ByteCursor map(mapBytes);
  const MapHeader mapHeader = core::ReadRecord<MapHeader>(map);
  const uint64_t typeList = mapHeader.typeListOffset;
  if (typeList < MapHeader::kSize || typeList + 2 > mapLength || mapHeader.nameListOffset > mapLength) return result;
  result.valid = true;

  // A type count of 0xFFFF (count less one) is the empty list.
  const uint64_t typeCount = (uint64_t{map.U16At(typeList)} + 1) & 0xFFFF;
  const uint64_t types =
      core::RecordsThatFit(mapRead, typeList + 2, typeCount, TypeEntry::kSize, core::Rounding::kWholeRecords);
  // However the type entries point at their lists, no more references are
  // read than the map can hold.
  uint64_t referenceBudget = mapRead / ReferenceEntry::kSize;
  std::set<uint64_t> listsRead;
  TakenRanges taken;
  for (uint64_t t = 0; t < types; ++t) {
    map.Seek(typeList + 2 + t * TypeEntry::kSize);
    const TypeEntry type = core::ReadRecord<TypeEntry>(map);
    if (type.type != kSfntType) continue;
    const uint64_t list = typeList + type.referenceListOffset;
    if (!listsRead.insert(list).second) continue;
    // A list stops where the names begin when it starts before them.
    const uint64_t listEnd = list < mapHeader.nameListOffset ? mapHeader.nameListOffset : mapRead;
    uint64_t references = core::RecordsThatFit(listEnd, list, uint64_t{type.countMinusOne} + 1,
                                               ReferenceEntry::kSize, core::Rounding::kWholeRecords);
    references = std::min(references, referenceBudget);
    referenceBudget -= references;
    for (uint64_t r = 0; r < references; ++r) {
      map.Seek(list + r * ReferenceEntry::kSize);
      const ReferenceEntry reference = core::ReadRecord<ReferenceEntry>(map);
      // The resource's length word and its bytes lie in the resource data.
      const uint64_t at = reference.attributesAndDataOffset & 0xFFFFFF;
      if (at + 4 > dataLength) {
        ++result.damaged;
        continue;
      }
      std::vector<uint8_t> lengthBytes;
      if (!ReadClipped(file, start + dataOffset + at, 4, &lengthBytes) || lengthBytes.size() != 4) {
        result.readFailed = true;
        return result;
      }
      const uint64_t fontLength = core::ByteCursor(lengthBytes).U32At(0);
      const uint64_t fontStart = at + 4;
      if (fontLength == 0 || fontStart + fontLength > dataLength || !taken.Take(fontStart, fontStart + fontLength)) {
        ++result.damaged;
        continue;
      }
      SfntResource font;
      font.id = reference.id;
      font.name = ResourceName(map, mapHeader, reference.nameOffset);
      font.offset = start + dataOffset + fontStart;
      font.length = static_cast<uint32_t>(fontLength);
      result.fonts.push_back(std::move(font));
    }
  }
  return result;
}

}  // namespace macconv
