// The report's facts as JSON, for scripts: per file its size and, for a
// collection, the collection header; per font its offset table, its
// directory with stored and calculated checksums, the fields of head, hhea,
// maxp, OS/2, cmap and name, and its verdict. docs/quillet-report.schema.json
// describes the document.
#pragma once

#include <string>
#include <vector>

#include "core/io/readable_file.h"
#include "editor/model/font_structure.h"

namespace editor {

// Collects the files of one call and writes them as one document.
class JsonReport {
 public:
  // A file that was read; its object is added to the document.
  void AddFile(const std::string& path, const core::ReadableFile& file, const FileStructure& structure);
  // A file that could not be read: its object holds only the path and the error.
  void AddFailure(const std::string& path, const std::string& error);
  // {"program": ..., "version": ..., "files": [...]} and a line end.
  std::string Document() const;

 private:
  std::vector<std::string> files_;
};

// `text` as a JSON string with its quotes; each byte that does not start a
// well-formed UTF-8 sequence (core/text/utf8.h) becomes U+FFFD.
std::string JsonString(std::string_view text);

}  // namespace editor
