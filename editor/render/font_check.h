// The structural checks of a font file that a validator makes: every table
// inside the file, at a 4-byte boundary, with zero fill bytes after it and
// no partial overlap with another; tags sorted and unique; the binary-search
// fields right for numTables; the head magic number; the OS/2 version
// against its length; and the checksum verdict of every table and of the
// whole font.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/io/readable_file.h"
#include "editor/model/font_structure.h"

namespace editor {

struct CheckFinding {
  std::optional<size_t> font;  // the collection font it is about, when the file is a collection
  std::string text;            // one sentence, without a line end
};

std::vector<CheckFinding> CheckFontFile(const core::ReadableFile& file, const FileStructure& structure);

}  // namespace editor
