#include "platform/profile.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <span>
#include <string_view>
#include <type_traits>

#include "core/io/readable_file.h"
#include "platform/file_system.h"
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

// FNV-1a over the lower-cased name.
uint64_t HashLower(std::string_view name) {
  uint64_t hash = 14695981039346656037u;
  for (char c : name) hash = (hash ^ static_cast<uint8_t>(LowerAscii(c))) * 1099511628211u;
  return hash;
}

// Whether two files hold the same bytes, read block by block.
bool FileHolds(const std::string& path, std::string_view text) {
  if (!files::IsPlainFile(path)) return false;
  core::ReadableFile file;
  if (!file.Open(path) || file.size() != text.size()) return false;
  std::vector<uint8_t> block(std::min<size_t>(text.size(), size_t{1} << 16));
  for (uint64_t at = 0; at < text.size(); at += block.size()) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(block.size(), text.size() - at));
    if (file.ReadAt(at, block.data(), want) != want || std::memcmp(block.data(), text.data() + at, want) != 0)
      return false;
  }
  return true;
}

}  // namespace

template <typename NameOf>
uint64_t Profile::NameIndex::Find(std::string_view lowerName, const NameOf& nameOf) const {
  if (slots_.empty()) return kNone;
  size_t mask = slots_.size() - 1;
  for (size_t at = HashLower(lowerName) & mask; slots_[at] != 0; at = (at + 1) & mask)
    if (EqualsLower(nameOf(slots_[at] - 1), lowerName)) return slots_[at] - 1;
  return kNone;
}

template <typename NameOf>
void Profile::NameIndex::Insert(std::string_view lowerName, uint64_t number, const NameOf& nameOf) {
  if (Find(lowerName, nameOf) != kNone) return;
  if (2 * (used_ + 1) > slots_.size()) {
    std::vector<uint64_t> old(std::max<size_t>(16, 2 * slots_.size()), 0);
    old.swap(slots_);
    size_t mask = slots_.size() - 1;
    for (uint64_t slot : old) {
      if (slot == 0) continue;
      size_t at = HashLower(nameOf(slot - 1)) & mask;
      while (slots_[at] != 0) at = (at + 1) & mask;
      slots_[at] = slot;
    }
  }
  size_t mask = slots_.size() - 1;
  size_t at = HashLower(lowerName) & mask;
  while (slots_[at] != 0) at = (at + 1) & mask;
  slots_[at] = number + 1;
  ++used_;
}

std::string_view Profile::LineText(const Line& line) const {
  if (line.start < text_.size()) return std::string_view(text_).substr(line.start, line.length);
  return std::string_view(added_).substr(line.start - text_.size(), line.length);
}

Profile::Line Profile::AddLine(std::string_view text) {
  Line line;
  line.start = text_.size() + added_.size();
  line.length = text.size();
  line.end = static_cast<uint64_t>(LineEnd::kCrLf);
  added_.append(text);
  return line;
}

std::string_view Profile::SectionName(uint64_t section) const {
  std::string_view name;
  const Section& s = sections_[section];
  if (section == 0 || s.count == 0 || !HeaderName(LineText(s, 0), &name)) return {};
  return name;
}

void Profile::Parse(const std::string& text) {
  text_ = text;
  ParseText();
}

// Splits text_ into lines and sections.
void Profile::ParseText() {
  added_.clear();
  added_.shrink_to_fit();
  lines_.clear();
  sections_.clear();
  sections_.resize(1);
  bom_.clear();
  wastedText_ = wastedLines_ = 0;
  std::string_view rest = text_;
  if (rest.starts_with(kUtf8Bom)) {
    bom_ = kUtf8Bom;
    rest.remove_prefix(kUtf8Bom.size());
  }
  lines_.reserve(static_cast<size_t>(std::count_if(rest.begin(), rest.end(),
                                                   [](char c) { return c == '\n' || c == '\r'; })) +
                 1);
  // A line ends at CR LF, LF, or a CR alone (as old Mac editors write).
  while (!rest.empty()) {
    size_t newline = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, newline);
    LineEnd end = LineEnd::kNone;
    if (newline == std::string_view::npos) {
      rest = {};
    } else if (rest[newline] == '\n') {
      rest.remove_prefix(newline + 1);
      end = LineEnd::kLf;
    } else if (newline + 1 < rest.size() && rest[newline + 1] == '\n') {
      rest.remove_prefix(newline + 2);
      end = LineEnd::kCrLf;
    } else {
      rest.remove_prefix(newline + 1);
      end = LineEnd::kCr;
    }
    std::string_view name;
    if (HeaderName(line, &name)) {
      if (sections_.size() > 1 && sections_.back().count >= kIndexedSectionLines) IndexKeys(sections_.back());
      sections_.push_back(Section{lines_.size(), 0, nullptr});
    }
    Line entry;
    entry.start = static_cast<uint64_t>(line.data() - text_.data());
    entry.length = line.size();
    entry.end = static_cast<uint64_t>(end);
    lines_.push_back(entry);
    ++sections_.back().count;
  }
  if (sections_.size() > 1 && sections_.back().count >= kIndexedSectionLines) IndexKeys(sections_.back());
  IndexSections();
}

void Profile::IndexSections() {
  index_.Clear();
  auto nameOf = [this](uint64_t section) { return SectionName(section); };
  for (uint64_t i = 1; i < sections_.size(); ++i) index_.Insert(LowerName(SectionName(i)), i, nameOf);
}

void Profile::IndexKeys(Section& section) {
  section.keys = std::make_unique<NameIndex>();
  auto nameOf = [this, &section](uint64_t at) {
    std::string_view key;
    EntryKey(LineText(section, at), &key);
    return key;
  };
  for (uint64_t i = 1; i < section.count; ++i) {
    std::string_view key;
    if (EntryKey(LineText(section, i), &key) && !key.empty()) section.keys->Insert(LowerName(key), i, nameOf);
  }
}

uint64_t Profile::FindKeyLine(const Section& section, const std::string& lowerKey) const {
  if (section.keys) {
    uint64_t found = section.keys->Find(lowerKey, [this, &section](uint64_t at) {
      std::string_view key;
      EntryKey(LineText(section, at), &key);
      return key;
    });
    return found == NameIndex::kNone ? 0 : found;
  }
  for (uint64_t i = 1; i < section.count; ++i) {
    std::string_view key;
    if (EntryKey(LineText(section, i), &key) && EqualsLower(key, lowerKey)) return i;
  }
  return 0;  // line 0 is the header, never an entry
}

const Profile::Line* Profile::FindEntry(const std::string& section, const std::string& key) const {
  std::string lowerSection = LowerName(section);
  std::string lowerKey = LowerName(key);
  if (lowerSection.empty() || lowerKey.empty()) return nullptr;
  uint64_t found = index_.Find(lowerSection, [this](uint64_t s) { return SectionName(s); });
  if (found == NameIndex::kNone) return nullptr;
  const Section& target = sections_[found];
  uint64_t line = FindKeyLine(target, lowerKey);
  return line == 0 ? nullptr : &lines_[target.first + line];
}

bool Profile::Has(const std::string& section, const std::string& key) const {
  return FindEntry(section, key) != nullptr;
}

bool Profile::HasSection(const std::string& section) const {
  std::string lower = LowerName(section);
  return !lower.empty() && index_.Find(lower, [this](uint64_t s) { return SectionName(s); }) != NameIndex::kNone;
}

std::string Profile::GetString(const std::string& section, const std::string& key, const std::string& fallback,
                               size_t maxLength) const {
  const Line* line = FindEntry(section, key);
  if (!line) return fallback;
  return std::string(EntryValue(LineText(*line)).substr(0, maxLength));
}

uint32_t Profile::GetInt(const std::string& section, const std::string& key, uint32_t fallback) const {
  const Line* line = FindEntry(section, key);
  if (!line) return fallback;
  return ParseProfileInt(std::string(EntryValue(LineText(*line))), fallback);
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
  uint64_t found = index_.Find(lowerSection, [this](uint64_t s) { return SectionName(s); });
  if (found == NameIndex::kNone) {
    // Only the file's last line can lack a line end; the new section follows it.
    for (auto it = sections_.rbegin(); it != sections_.rend(); ++it) {
      if (it->count == 0) continue;
      Line& last = lines_[it->first + it->count - 1];
      if (last.end == static_cast<uint64_t>(LineEnd::kNone)) last.end = static_cast<uint64_t>(LineEnd::kCrLf);
      break;
    }
    Section added{lines_.size(), 2, nullptr};
    lines_.push_back(AddLine("[" + std::string(sectionName) + "]"));
    lines_.push_back(AddLine(text));
    sections_.push_back(std::move(added));
    index_.Insert(lowerSection, sections_.size() - 1, [this](uint64_t s) { return SectionName(s); });
    return true;
  }

  Section& target = sections_[found];
  std::string lowerKey = LowerName(keyName);
  if (uint64_t line = FindKeyLine(target, lowerKey); line != 0) {
    // The key keeps the spelling the file gave it; the value is replaced.
    Line& old = lines_[target.first + line];
    std::string_view fileKey;
    EntryKey(LineText(old), &fileKey);
    std::string replaced(fileKey);
    replaced.append(text, keyName.size());
    wastedText_ += old.length;
    old = AddLine(replaced);
    CompactIfWasteful();
    return true;
  }
  // After the section's last entry line (right after the header when it has
  // none), so that blank lines closing the section stay where they are.
  uint64_t at = target.count;
  while (at > 1 && LineText(target, at - 1).find('=') == std::string_view::npos) --at;
  Line& before = lines_[target.first + at - 1];
  if (before.end == static_cast<uint64_t>(LineEnd::kNone)) before.end = static_cast<uint64_t>(LineEnd::kCrLf);
  if (target.room == 0 && target.first + target.count != lines_.size()) {
    // The section's lines move to the end, with as many free lines after
    // them to grow into, so that a section that keeps growing between other
    // sections moves only now and then.
    uint64_t moved = lines_.size();
    lines_.reserve(lines_.size() + 2 * target.count);
    for (uint64_t i = 0; i < target.count; ++i) lines_.push_back(lines_[target.first + i]);
    lines_.resize(lines_.size() + target.count);
    wastedLines_ += target.count;  // the old lines; the free ones are the section's own
    target.first = moved;
    target.room = target.count;
  }
  auto place = lines_.begin() + static_cast<ptrdiff_t>(target.first + at);
  if (target.room > 0) {
    auto end = lines_.begin() + static_cast<ptrdiff_t>(target.first + target.count);
    std::move_backward(place, end, end + 1);
    *place = AddLine(text);
    --target.room;
  } else {
    lines_.insert(place, AddLine(text));
  }
  ++target.count;
  // Lines after `at` hold no '=', so the index entries stay valid.
  if (target.keys) {
    target.keys->Insert(lowerKey, at, [this, &target](uint64_t i) {
      std::string_view key;
      EntryKey(LineText(target, i), &key);
      return key;
    });
  } else if (target.count >= kIndexedSectionLines) {
    IndexKeys(target);
  }
  CompactIfWasteful();
  return true;
}

size_t Profile::RemoveSectionsIf(const std::function<bool(std::string_view name)>& drop) {
  std::vector<bool> gone(sections_.size(), false);
  size_t removed = 0;
  for (uint64_t i = 1; i < sections_.size(); ++i) {
    std::string_view name;
    if (sections_[i].count == 0 || !HeaderName(LineText(sections_[i], 0), &name) || !drop(name)) continue;
    gone[i] = true;
    for (uint64_t line = 0; line < sections_[i].count; ++line) wastedText_ += lines_[sections_[i].first + line].length;
    wastedLines_ += sections_[i].count + sections_[i].room;
    ++removed;
  }
  if (removed == 0) return 0;
  std::vector<Section> kept;
  kept.reserve(sections_.size() - removed);
  for (uint64_t i = 0; i < sections_.size(); ++i)
    if (!gone[i]) kept.push_back(std::move(sections_[i]));
  sections_ = std::move(kept);
  IndexSections();
  CompactIfWasteful();
  return removed;
}

size_t Profile::RemoveKeysIf(const std::string& section, const std::function<bool(std::string_view key)>& drop) {
  uint64_t found = index_.Find(LowerName(section), [this](uint64_t s) { return SectionName(s); });
  if (found == NameIndex::kNone) return 0;
  Section& target = sections_[found];
  // The lines that stay close up in place; the header stays first.
  uint64_t kept = 1;
  size_t removed = 0;
  for (uint64_t i = 1; i < target.count; ++i) {
    const Line line = lines_[target.first + i];
    std::string_view key;
    if (EntryKey(LineText(line), &key) && !key.empty() && drop(key)) {
      wastedText_ += line.length;
      ++removed;
      continue;
    }
    lines_[target.first + kept++] = line;
  }
  if (removed == 0) return 0;
  target.room += target.count - kept;  // the freed lines are the section's to grow into
  target.count = kept;
  if (target.keys) IndexKeys(target);
  CompactIfWasteful();
  return removed;
}

// Rewrites the text and the lines without what no section holds any more,
// once that is more than half of them.
void Profile::CompactIfWasteful() {
  constexpr uint64_t kSmallWaste = 1 << 20;
  uint64_t textSize = text_.size() + added_.size();
  bool textWasted = wastedText_ > kSmallWaste && 2 * wastedText_ > textSize;
  bool linesWasted = wastedLines_ > kSmallWaste / 16 && 2 * wastedLines_ > lines_.size();
  if (!textWasted && !linesWasted) return;
  std::string text = bom_;
  std::vector<Line> lines;
  text.reserve(bom_.size() + textSize - wastedText_);
  lines.reserve(lines_.size() - wastedLines_);
  for (Section& section : sections_) {
    uint64_t first = lines.size();
    for (uint64_t i = 0; i < section.count; ++i) {
      Line line = lines_[section.first + i];
      std::string_view lineText = LineText(line);
      line.start = text.size();
      text.append(lineText);
      lines.push_back(line);
    }
    section.first = first;
    section.room = 0;
  }
  text_ = std::move(text);
  added_.clear();
  added_.shrink_to_fit();
  lines_ = std::move(lines);
  wastedText_ = wastedLines_ = 0;
}

std::string Profile::Serialize() const {
  size_t total = bom_.size();
  for (const Section& section : sections_)
    for (uint64_t i = 0; i < section.count; ++i) total += lines_[section.first + i].length + 2;
  std::string out;
  out.reserve(total);
  out += bom_;
  for (const Section& section : sections_) {
    for (uint64_t i = 0; i < section.count; ++i) {
      const Line& line = lines_[section.first + i];
      out += LineText(line);
      if (line.end == static_cast<uint64_t>(LineEnd::kCrLf)) out += "\r\n";
      if (line.end == static_cast<uint64_t>(LineEnd::kLf)) out += '\n';
      if (line.end == static_cast<uint64_t>(LineEnd::kCr)) out += '\r';
    }
  }
  return out;
}

bool Profile::Load(const std::string& path) {
  Parse(std::string());
  error_ = 0;
  core::ReadableFile file;
  if (!file.Open(path)) {
    if (files::IsMissing(file.error())) return true;
    error_ = file.error();
    return false;
  }
  // A settings file is a few kilobytes; one far larger is left alone rather
  // than read into memory.
  if (file.size() > kLargestProfile) {
    error_ = EFBIG;
    return false;
  }
  // The file is read straight into the one text that its lines point into.
  std::string text(static_cast<size_t>(file.size()), '\0');
  text.resize(file.ReadAt(0, text.data(), text.size()));
  if (file.read_error() != 0) {
    error_ = file.read_error();
    return false;
  }
  text_ = std::move(text);
  ParseText();
  return true;
}

bool Profile::Save(const std::string& path) {
  std::string text = Serialize();
  error_ = 0;
  // A file that holds these very bytes already is left alone: nothing to
  // flush or move into place.
  // (A symbolic link is always replaced, never written through.)
  if (FileHolds(path, text)) return true;
  return ReplaceFile(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), &error_);
}

std::optional<uint64_t> NumberedName(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || !EqualsLower(name.substr(0, prefix.size()), LowerName(prefix)))
    return std::nullopt;
  uint64_t n = 0;
  std::string_view digits = name.substr(prefix.size());
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return n;
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
