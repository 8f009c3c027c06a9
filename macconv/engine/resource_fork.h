// The TrueType fonts of Mac resource data: the 'sfnt' resources of a
// resource fork, read from its header, map, type list, reference lists and
// name list. The fork may lie anywhere in a file (a bare resource fork or a
// .dfont from its first byte, or a fork inside an archive), so it is read
// as the range [start, start + length) of the file.
//
// Layout (every number big-endian, offsets from the fork's first byte unless
// said otherwise):
//   header     16 bytes: data offset, map offset, data length, map length
//   data       per resource: a 32-bit length, then the resource's bytes
//   map        a copy of the header, next-map handle (4), file ref (2),
//              attributes (2), type list offset (2) and name list offset (2),
//              both from the map's start
//   type list  count - 1 (2), then 8 bytes a type: type, count - 1 (2),
//              reference list offset (2, from the type list's start)
//   references 12 bytes each: ID (2), name offset (2, from the name list;
//              0xFFFF none), attributes (1), data offset (3, from the data's
//              start), handle (4)
//   names      a length byte and that many bytes of text
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/io/readable_file.h"

namespace macconv {

// One 'sfnt' resource: where its bytes lie in the file.
struct SfntResource {
  int16_t id = 0;
  std::optional<std::string> name;  // the resource's name as stored (Mac text); none when unnamed
  uint64_t offset = 0;              // of the font's first byte in the file
  uint32_t length = 0;
};

struct ResourceFonts {
  // The range holds a resource fork: its header and map lie inside it.
  bool valid = false;
  // A read inside the file delivered less than the file's size promised.
  bool readFailed = false;
  // In reference-list order.
  std::vector<SfntResource> fonts;
  // 'sfnt' references left out: data outside the fork's data, empty, cut
  // short by the end of the map, or over the bytes of a font already taken.
  size_t damaged = 0;
};

// Reads the 'sfnt' resources of the resource fork at [start, start + length)
// of `file` (the range is clipped to the file). Work and memory are linear in
// the map's size; no count is trusted beyond the bytes that hold it.
ResourceFonts ReadResourceFork(const core::ReadableFile& file, uint64_t start, uint64_t length);

// The bytes of [offset, offset + count) that the file holds; false when a
// read delivers fewer than that (a read error, not the end of the file).
bool ReadClipped(const core::ReadableFile& file, uint64_t offset, uint64_t count, std::vector<uint8_t>* bytes);

}  // namespace macconv
