#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>

#include "core/readable_file.h"
#include "platform/output_file.h"

namespace platform {
namespace {

// Sections with at least this many lines keep a key index.
constexpr size_t kIndexedSectionLines = 32;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string LowerName(std::string_view name) {
  std::string lower(TrimBlanks(name));
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool EqualsLower(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (LowerAscii(text[i]) != lower[i]) return false;
  return true;
}

// A header line: optional blanks, '[', the name up to ']' (or the line's end).
bool HeaderName(std::string_view line, std::string_view* name) {
  size_t open = 0;
  while (open < line.size() && IsBlank(line[open])) ++open;
  if (open == line.size() || line[open] != '[') return false;
  std::string_view rest = line.substr(open + 1);
  *name = TrimBlanks(rest.substr(0, rest.find(']')));
  return true;
}

// An entry line's key: the text before the first '=', blanks removed.
bool EntryKey(std::string_view line, std::string_view* key) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  *key = TrimBlanks(line.substr(0, equals));
  return true;
}

// An entry line's value: the text after the first '=', blanks removed, and
// one pair of matching double or single quotes around it removed.
std::string_view EntryValue(std::string_view line) {
  std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

// Sections move when the list grows; a throwing move would make that a copy.
static_assert(std::is_nothrow_move_constructible_v<std::unordered_map<std::string, size_t>>);

void Profile::Parse(const std::string& text) {
  sections_.clear();
  sections_.resize(1);
  index_.clear();
  bom_.clear();
  std::string_view rest = text;
  if (rest.starts_with(kUtf8Bom)) {
    bom_ = kUtf8Bom;
    rest.remove_prefix(kUtf8Bom.size());
  }
  while (!rest.empty()) {
    size_t newline = rest.find('\n');
    std::string_view line = rest.substr(0, newline);
    LineEnd end = LineEnd::kNone;
    if (newline == std::string_view::npos) {
      rest = {};
    } else {
      rest.remove_prefix(newline + 1);
      end = LineEnd::kLf;
      if (line.ends_with('\r')) {
        line.remove_suffix(1);
        end = LineEnd::kCrLf;
      }
    }
    std::string_view name;
    if (HeaderName(line, &name)) {
      if (sections_.size() > 1 && sections_.back().lines.size() >= kIndexedSectionLines) IndexKeys(sections_.back());
      index_.emplace(LowerName(name), sections_.size());
      sections_.emplace_back();
    }
    sections_.back().lines.push_back(Line{std::string(line), end});
  }
  if (sections_.size() > 1 && sections_.back().lines.size() >= kIndexedSectionLines) IndexKeys(sections_.back());
}

void Profile::IndexKeys(Section& section) {
  section.keys.clear();
  for (size_t i = 1; i < section.lines.size(); ++i) {
    std::string_view key;
    if (EntryKey(section.lines[i].text, &key) && !key.empty()) section.keys.emplace(LowerName(key), i);
  }
}

size_t Profile::FindKeyLine(const Section& section, const std::string& lowerKey) {
  if (!section.keys.empty()) {
    auto found = section.keys.find(lowerKey);
    return found == section.keys.end() ? 0 : found->second;
  }
  for (size_t i = 1; i < section.lines.size(); ++i) {
    std::string_view key;
    if (EntryKey(section.lines[i].text, &key) && EqualsLower(key, lowerKey)) return i;
  }
  return 0;  // line 0 is the header, never an entry
}

const Profile::Line* Profile::FindEntry(const std::string& section, const std::string& key) const {
  std::string lowerSection = LowerName(section);
  std::string lowerKey = LowerName(key);
  if (lowerSection.empty() || lowerKey.empty()) return nullptr;
  auto found = index_.find(lowerSection);
  if (found == index_.end()) return nullptr;
  const Section& target = sections_[found->second];
  size_t line = FindKeyLine(target, lowerKey);
  return line == 0 ? nullptr : &target.lines[line];
}

bool Profile::Has(const std::string& section, const std::string& key) const {
  return FindEntry(section, key) != nullptr;
}

std::string Profile::GetString(const std::string& section, const std::string& key, const std::string& fallback,
                               size_t maxLength) const {
  const Line* line = FindEntry(section, key);
  if (!line) return fallback;
  return std::string(EntryValue(line->text).substr(0, maxLength));
}

uint32_t Profile::GetInt(const std::string& section, const std::string& key, uint32_t fallback) const {
  const Line* line = FindEntry(section, key);
  if (!line) return fallback;
  return ParseProfileInt(std::string(EntryValue(line->text)), fallback);
}

bool Profile::Set(const std::string& section, const std::string& key, const std::string& value) {
  std::string_view sectionName = TrimBlanks(section);
  std::string_view keyName = TrimBlanks(key);
  if (sectionName.empty() || keyName.empty() || HasLineBreak(sectionName) || HasLineBreak(keyName) ||
      sectionName.find(']') != std::string_view::npos || keyName.find('=') != std::string_view::npos ||
      keyName.front() == '[') {
    return false;
  }
  std::string text;
  text.reserve(keyName.size() + 1 + value.size());
  text.append(keyName).push_back('=');
  for (char c : value) text.push_back(c == '\r' || c == '\n' ? ' ' : c);

  std::string lowerSection = LowerName(sectionName);
  auto found = index_.find(lowerSection);
  if (found == index_.end()) {
    // Only the file's last line can lack a line end; the new section follows it.
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
      if (it->lines.empty()) continue;
      if (it->lines.back().end == LineEnd::kNone) it->lines.back().end = LineEnd::kCrLf;
      break;
    }
    index_.emplace(std::move(lowerSection), sections_.size());
    Section& added = sections_.emplace_back();
    added.lines.push_back(Line{"[" + std::string(sectionName) + "]", LineEnd::kCrLf});
    added.lines.push_back(Line{std::move(text), LineEnd::kCrLf});
    return true;
  }

  Section& target = sections_[found->second];
  std::string lowerKey = LowerName(keyName);
  if (size_t line = FindKeyLine(target, lowerKey); line != 0) {
    // The key keeps the spelling the file gave it; the value is replaced.
    std::string_view fileKey;
    EntryKey(target.lines[line].text, &fileKey);
    std::string replaced(fileKey);
    replaced.append(text, keyName.size());
    target.lines[line] = Line{std::move(replaced), LineEnd::kCrLf};
    return true;
  }
  // After the section's last entry line (right after the header when it has
  // none), so that blank lines closing the section stay where they are.
  size_t at = target.lines.size();
  while (at > 1 && target.lines[at - 1].text.find('=') == std::string::npos) --at;
  if (target.lines[at - 1].end == LineEnd::kNone) target.lines[at - 1].end = LineEnd::kCrLf;
  target.lines.insert(target.lines.begin() + static_cast<ptrdiff_t>(at), Line{std::move(text), LineEnd::kCrLf});
  // Lines after `at` hold no '=', so the index entries stay valid.
  if (!target.keys.empty()) {
    target.keys.emplace(std::move(lowerKey), at);
  } else if (target.lines.size() >= kIndexedSectionLines) {
    IndexKeys(target);
  }
  return true;
}

size_t Profile::RemoveSectionsIf(const std::function<bool(std::string_view name)>& drop) {
  size_t removed = 0;
  for (size_t i = 1; i < sections_.size(); ++i) {
    std::string_view name;
    if (sections_[i].lines.empty() || !HeaderName(sections_[i].lines[0].text, &name) || !drop(name)) continue;
    sections_[i] = Section{};
    ++removed;
  }
  if (removed == 0) return 0;
  std::vector<Section> kept;
  kept.reserve(sections_.size() - removed);
  index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) {
    if (i > 0 && sections_[i].lines.empty()) continue;
    std::string_view name;
    if (i > 0 && HeaderName(sections_[i].lines[0].text, &name)) index_.emplace(LowerName(name), kept.size());
    kept.push_back(std::move(sections_[i]));
  }
  sections_ = std::move(kept);
  return removed;
}

std::string Profile::Serialize() const {
  size_t total = bom_.size();
  for (const Section& section : sections_)
    for (const Line& line : section.lines) total += line.text.size() + 2;
  std::string out;
  out.reserve(total);
  out += bom_;
  for (const Section& section : sections_) {
    for (const Line& line : section.lines) {
      out += line.text;
      if (line.end == LineEnd::kCrLf) out += "\r\n";
      if (line.end == LineEnd::kLf) out += '\n';
    }
  }
  return out;
}

bool Profile::Load(const std::string& path) {
  Parse(std::string());
  error_ = 0;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    error_ = errno;
    return false;
  }
  std::string text;
  struct stat info;
  if (::fstat(fd, &info) == 0 && info.st_size > 0) text.reserve(static_cast<size_t>(info.st_size));
  char block[1 << 16];
  for (;;) {
    ssize_t got = ::read(fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error_ = errno;
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    text.append(block, static_cast<size_t>(got));
  }
  ::close(fd);
  Parse(text);
  return true;
}

bool Profile::Save(const std::string& path) {
  std::string text = Serialize();
  error_ = 0;
  // A file that holds these very bytes already is left alone: nothing to
  // flush or move into place.
  // (A symbolic link is always replaced, never written through.)
  std::vector<uint8_t> current;
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
      static_cast<uint64_t>(info.st_size) == text.size() && core::ReadWholeFile(path, &current) &&
      current.size() == text.size() &&
      std::memcmp(current.data(), text.data(), text.size()) == 0)
    return true;
  return ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), &error_);
}

uint32_t ParseProfileInt(const std::string& value, uint32_t fallback) {
  size_t at = 0;
  while (at < value.size() && IsBlank(value[at])) ++at;
  if (at == value.size()) return fallback;
  bool negative = false;
  if (value[at] == '+' || value[at] == '-') negative = value[at++] == '-';
  uint32_t base = 10;
  if (at + 1 < value.size() && value[at] == '0' && (value[at + 1] == 'x' || value[at + 1] == 'X')) {
    base = 16;
    at += 2;
  }
  uint32_t result = 0;
  for (; at < value.size(); ++at) {
    char c = value[at];
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (base == 16 && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f') {
      digit = static_cast<uint32_t>(LowerAscii(c) - 'a' + 10);
    } else {
      break;
    }
    result = result * base + digit;  // unsigned arithmetic wraps modulo 2^32
  }
  return negative ? 0u - result : result;
}

std::string ReadProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback, size_t maxLength) {
  Profile profile;
  profile.Load(path);
  return profile.GetString(section, key, fallback, maxLength);
}

uint32_t ReadProfileInt(const std::string& path, const std::string& section, const std::string& key,
                        uint32_t fallback) {
  Profile profile;
  profile.Load(path);
  return profile.GetInt(section, key, fallback);
}

bool WriteProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value, int* error) {
  Profile profile;
  bool ok = profile.Load(path);
  int failure = profile.error();
  if (ok && !profile.Set(section, key, value)) {
    failure = EINVAL;
    ok = false;
  }
  if (ok && !profile.Save(path)) {
    failure = profile.error();
    ok = false;
  }
  if (error) *error = ok ? 0 : failure;
  return ok;
}

}  // namespace platform
