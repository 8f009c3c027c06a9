// The files that carry Mac resource data on other systems, and the TrueType
// fonts in them:
//   - a bare resource fork saved as a file, or a data-fork suitcase (.dfont):
//     the resource fork layout from the first byte;
//   - MacBinary I, II and III: a 128-byte header (II and III with a CRC of
//     its first 124 bytes), then the data fork and the resource fork, each
//     padded to 128 bytes;
//   - AppleSingle and AppleDouble (the "._name" files that archivers and
//     copies to other file systems leave): a header and entries of
//     (ID, offset, length); entry 2 is the resource fork, entry 1 the data
//     fork.
// A fork of an archive that holds no fonts as a resource fork is tried once
// more: the data fork of a .dfont kept in an archive is itself a fork.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/io/readable_file.h"
#include "macconv/engine/resource_fork.h"

namespace macconv {

enum class MacContainer { kNone, kResourceFork, kMacBinary, kAppleSingle, kAppleDouble };

// "resource fork", "MacBinary file", "AppleSingle file", "AppleDouble file";
// "" for none.
const char* ContainerName(MacContainer container);

struct MacFonts {
  MacContainer container = MacContainer::kNone;
  bool readFailed = false;                // a read error; nothing else is meaningful
  std::vector<SfntResource> fonts;        // offsets into the file
  size_t damaged = 0;                     // 'sfnt' references left out (see ResourceFonts)
};

// The TrueType fonts of the Mac data in `file`, exactly as stored: each
// font's bytes are [offset, offset + length) of the file.
MacFonts ReadMacFonts(const core::ReadableFile& file);

// The CRC of MacBinary II headers (CRC-16, polynomial 0x1021, start 0).
uint16_t MacBinaryCrc(std::span<const uint8_t> bytes);

}  // namespace macconv
