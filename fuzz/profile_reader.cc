// The profile module's reader on text it did not write. The input is the
// file's text, optionally followed by a section, a key and a value to set.
// Reading and writing back unchanged gives the same bytes; after a set, the
// value reads back, also from the written text, and other entries keep theirs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/input_parts.h"
#include "fuzz/scratch_folder.h"
#include "platform/profile.h"

namespace {

using fuzzsupport::Check;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The value GetString gives for a value that Set wrote.
std::string ValueAsRead(const std::string& written) {
  std::string value;
  for (char c : written) value.push_back(c == '\r' || c == '\n' ? ' ' : c);
  size_t begin = 0, end = value.size();
  while (begin < end && IsBlank(value[begin])) ++begin;
  while (end > begin && IsBlank(value[end - 1])) --end;
  value = value.substr(begin, end - begin);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower;
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  for (char c : text.substr(begin, end - begin)) lower.push_back(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return lower;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string_view> parts = fuzzsupport::SplitParts(data, size, 5);
  std::string text(parts[0]);

  platform::Profile profile;
  profile.Parse(text);
  Check(profile.Serialize() == text, "a profile read and written back unchanged keeps its bytes");

  // The integer rule must not depend on anything but the value's text.
  Check(platform::ParseProfileInt(text, 7) == platform::ParseProfileInt(text, 7), "the integer rule is stable");

  if (parts.size() < 4) return 0;
  std::string section(parts[1]), key(parts[2]), value(parts[3]);
  // A second entry whose value must survive the set, when it names another entry.
  std::string otherSection = parts.size() > 4 ? std::string(parts[4]) : std::string("SUMMARY");
  std::string otherKey = "FileName";
  bool sameEntry = Lower(section) == Lower(otherSection) && Lower(key) == Lower(otherKey);
  const std::string kMissing = "\x01missing";
  std::string otherBefore = profile.GetString(otherSection, otherKey, kMissing, std::string::npos);

  if (!profile.Set(section, key, value)) {
    Check(profile.Serialize() == text, "a refused set changes nothing");
    return 0;
  }
  std::string expected = ValueAsRead(value);
  Check(profile.GetString(section, key, kMissing, std::string::npos) == expected, "a value set reads back");
  Check(profile.Has(section, key), "a key set is there");
  if (!sameEntry)
    Check(profile.GetString(otherSection, otherKey, kMissing, std::string::npos) == otherBefore,
          "setting one entry leaves another alone");

  std::string written = profile.Serialize();
  platform::Profile reread;
  reread.Parse(written);
  Check(reread.Serialize() == written, "the written text reads back to the same bytes");
  Check(reread.GetString(section, key, kMissing, std::string::npos) == expected,
        "a value set reads back from the written text");
  if (!sameEntry)
    Check(reread.GetString(otherSection, otherKey, kMissing, std::string::npos) == otherBefore,
          "the written text keeps the other entry");
  return 0;
}
