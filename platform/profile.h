// Profile (INI) files: section headers "[name]" followed by key=value lines.
// Sections and keys match without regard to ASCII case. Writing replaces a
// key's value in place, adds a missing key as its section's last line, and
// adds a missing section at the end of the file; everything else survives.
// Lines are written with CRLF; bare LF is accepted on reading.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class Profile {
 public:
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

  void Set(const std::string& section, const std::string& key, const std::string& value);

  // The file's text as it would be written (CRLF line ends).
  std::string Serialize() const;
  // Writes the profile back through a temporary file and a rename. False on
  // failure with errno in error(); the old file is then unchanged.
  bool Save(const std::string& path);

  int error() const { return error_; }

 private:
  struct Line {
    std::string text;      // the line as read or written, without its line end
    std::string section;   // for a header line, the section name; else empty
    bool isHeader = false;
  };
  const Line* FindEntry(const std::string& section, const std::string& key) const;

  std::vector<Line> lines_;
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
