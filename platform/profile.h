// Profile (INI) files: section headers "[name]" followed by key=value lines.
// Sections and keys match without regard to ASCII case. Writing replaces a
// key's value in place, adds a missing key as its section's last entry line,
// and adds a missing section at the end of the file; everything else survives
// byte for byte. Lines are written with CRLF; bare LF and bare CR are accepted
// on reading and kept.
// When a section or key occurs twice, the first one is read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Profile {
 public:
  // No settings file the suite writes comes near this size.
  static constexpr uint64_t kLargestProfile = uint64_t{16} << 20;

  Profile() : sections_(1) {}
  Profile(Profile&&) = default;
  Profile& operator=(Profile&&) = default;

  // Loads a profile file. A missing file gives an empty profile and true;
  // false when the file exists but cannot be read (errno in error()), or is
  // larger than kLargestProfile (EFBIG; nothing is read).
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
  bool HasSection(const std::string& section) const;

  // Writes "key=value" into the section (an existing key keeps the spelling
  // the file gives it). Line breaks in the value become
  // blanks. False (nothing changed) when the names cannot stand in a profile
  // line: an empty name, a line break, '=' in or '[' before the key, ']' in
  // the section name.
  bool Set(const std::string& section, const std::string& key, const std::string& value);

  // Removes the entries of `section` whose keys (as the file spells them)
  // `drop` accepts; returns how many went.
  size_t RemoveKeysIf(const std::string& section, const std::function<bool(std::string_view key)>& drop);

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
  enum class LineEnd : uint8_t { kNone, kLf, kCrLf, kCr };  // kNone: the file's last line, unended
  // A line without its line end: bytes [start, start + length) of the text,
  // where the loaded text comes first and the text added since follows it.
  struct Line {
    uint64_t start = 0;
    uint64_t length : 62 = 0;
    uint64_t end : 2 = 0;  // a LineEnd
  };
  static_assert(sizeof(Line) == 16);
  // Names to numbers through an open-addressed table of the numbers alone:
  // the name of a number is looked up where it stands in the text.
  class NameIndex {
   public:
    static constexpr uint64_t kNone = UINT64_MAX;
    template <typename NameOf>
    uint64_t Find(std::string_view lowerName, const NameOf& nameOf) const;
    // Keeps the number already there for the name (the first one counts).
    template <typename NameOf>
    void Insert(std::string_view lowerName, uint64_t number, const NameOf& nameOf);
    void Clear() { slots_.clear(), used_ = 0; }
    bool empty() const { return used_ == 0; }

   private:
    std::vector<uint64_t> slots_;  // number + 1, 0 for a free slot
    size_t used_ = 0;
  };
  struct Section {
    uint64_t first = 0;  // lines_[first, first + count): the header first
    uint64_t count = 0;  // (no header for the lines before any section)
    // Line numbers within the section by lower-cased key, kept only for
    // sections with many lines; smaller ones are searched line by line.
    std::unique_ptr<NameIndex> keys;
    uint64_t room = 0;  // free lines after its own, for the section to grow into
  };

  void ParseText();
  std::string_view LineText(const Line& line) const;
  std::string_view LineText(const Section& section, uint64_t at) const { return LineText(lines_[section.first + at]); }
  Line AddLine(std::string_view text);
  std::string_view SectionName(uint64_t section) const;
  const Line* FindEntry(const std::string& section, const std::string& key) const;
  uint64_t FindKeyLine(const Section& section, const std::string& lowerKey) const;
  void IndexKeys(Section& section);
  void IndexSections();
  void CompactIfWasteful();

  std::string bom_;    // a UTF-8 byte order mark the file began with
  std::string text_;   // the loaded file
  std::string added_;  // the text of lines set since
  std::vector<Line> lines_;
  std::vector<Section> sections_;  // [0] holds the lines before any section
  NameIndex index_;                // lower-cased name to its first section
  uint64_t wastedText_ = 0;        // bytes of lines replaced or removed
  uint64_t wastedLines_ = 0;       // lines no section holds any more
  int error_ = 0;
};

// N of a section or key named `prefix` followed by N in decimal digits
// ("Table12", "LangTag3"; the prefix matched without regard to ASCII case),
// or nothing.
std::optional<uint64_t> NumberedName(std::string_view name, std::string_view prefix);

// The integer rule on a bare value text (see Profile::GetInt).
uint32_t ParseProfileInt(const std::string& value, uint32_t fallback);

// Sets one entry of a profile file and writes it back at once; reports failure.
bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value, int* error = nullptr);

}  // namespace platform
