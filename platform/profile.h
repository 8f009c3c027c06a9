// Profile (INI) files: section headers "[name]" followed by key=value lines.
// Sections and keys match without regard to ASCII case. Writing replaces a
// key's value in place, adds a missing key as its section's last entry line,
// and adds a missing section at the end of the file; everything else survives
// byte for byte. Lines are written with CRLF; bare LF is accepted on reading.
// When a section or key occurs twice, the first one is read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class Profile {
 public:
  Profile() : sections_(1) {}

  // Loads a profile file. A missing file gives an empty profile and true;
  // false only when the file exists but cannot be read (errno in error()).
  bool Load(const std::string& path);
  // Parses profile text (for tests and fuzzing).
  void Parse(const std::string& text);

  // The value after the first '=', blanks around it removed and one pair of
  // matching double or single quotes stripped, cut to maxLength characters.
  // The default when the section or key is missing.
  std::string GetString(const std::string& section, const std::string& key, const std::string& fallback,
                        size_t maxLength = 511) const;
  // The integer rule: default for a missing key or an empty value; else
  // optional blanks, sign, "0x" for hexadecimal, digits up to the first
  // non-digit (none gives 0), accumulated modulo 2^32, '-' negates.
  uint32_t GetInt(const std::string& section, const std::string& key, uint32_t fallback) const;
  bool Has(const std::string& section, const std::string& key) const;

  // Writes "key=value" into the section (an existing key keeps the spelling
  // the file gives it). Line breaks in the value become
  // blanks. False (nothing changed) when the names cannot stand in a profile
  // line: an empty name, a line break, '=' in or '[' before the key, ']' in
  // the section name.
  bool Set(const std::string& section, const std::string& key, const std::string& value);

  // Removes every section whose name (as the file spells it) `drop` accepts,
  // with all its lines; returns how many went.
  size_t RemoveSectionsIf(const std::function<bool(std::string_view name)>& drop);

  // The file's text as it would be written (CRLF line ends).
  std::string Serialize() const;
  // Writes the profile back through a temporary file and a rename. False on
  // failure with errno in error(); the old file is then unchanged.
  bool Save(const std::string& path);

  int error() const { return error_; }

 private:
  enum class LineEnd : uint8_t { kNone, kLf, kCrLf };  // kNone: the file's last line, unended
  struct Line {
    std::string text;  // without its line end
    LineEnd end = LineEnd::kCrLf;
  };
  struct Section {
    std::vector<Line> lines;  // the header line first (none for the lines before any section)
    // Lower-cased key to its first line, kept only for sections with many
    // lines; smaller ones are searched line by line.
    std::unordered_map<std::string, size_t> keys;
  };

  const Line* FindEntry(const std::string& section, const std::string& key) const;
  static size_t FindKeyLine(const Section& section, const std::string& lowerKey);
  static void IndexKeys(Section& section);

  std::string bom_;                // a UTF-8 byte order mark the file began with
  std::vector<Section> sections_;  // [0] holds the lines before any section
  std::unordered_map<std::string, size_t> index_;  // lower-cased name to its first section
  int error_ = 0;
};

// The integer rule on a bare value text (see Profile::GetInt).
uint32_t ParseProfileInt(const std::string& value, uint32_t fallback);

// One-shot helpers as the tools use them: each reads the file; the write
// helper writes it back at once and reports failure.
std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback, size_t maxLength = 511);
uint32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key,
                        uint32_t fallback);
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value, int* error = nullptr);

}  // namespace platform
