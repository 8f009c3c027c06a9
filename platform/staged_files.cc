#include "platform/staged_files.h"

#include <mutex>
#include <set>
#include <vector>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::string_view kPart = ".part-";
constexpr size_t kRandomLength = 6;
constexpr size_t kLongestHost = 64;
constexpr size_t kLongestProcess = 19;  // decimal digits of a 64-bit number that cannot overflow

bool IsAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsHostText(std::string_view text) {
  if (text.empty() || text.size() > kLongestHost) return false;
  for (char c : text)
    if (!IsAlnum(c) && c != '-' && c != '_') return false;
  return true;
}

// Whether the sweep may try to remove the file (it still goes only when no
// lock on it is held).
bool MayBeStale(const StagedFileParts& parts) {
  const std::string& host = files::StagingHostName();
  if (parts.host == host) return parts.process != files::CurrentProcessId() && files::ProcessEnded(parts.process);
  return parts.kind == StagedKind::kHeld;
}

}  // namespace

std::string StagedFileName(std::string_view destinationName, StagedKind kind, std::string_view host,
                           uint64_t process, std::string_view random) {
  std::string name = ".";
  name.append(destinationName).append(kPart).append(host);
  name.push_back('.');
  name.push_back(static_cast<char>(kind));
  name.append(std::to_string(process)).append(".").append(random);
  return name;
}

std::optional<StagedFileParts> ParseStagedFileName(std::string_view fileName) {
  if (!fileName.starts_with('.')) return std::nullopt;
  size_t part = fileName.rfind(kPart);
  if (part == std::string_view::npos || part == 0) return std::nullopt;
  std::string_view rest = fileName.substr(part + kPart.size());
  // HOST "." KIND PROCESS "." RANDOM
  size_t firstDot = rest.find('.');
  size_t lastDot = rest.rfind('.');
  if (firstDot == std::string_view::npos || firstDot == lastDot) return std::nullopt;
  std::string_view host = rest.substr(0, firstDot);
  std::string_view process = rest.substr(firstDot + 1, lastDot - firstDot - 1);
  std::string_view random = rest.substr(lastDot + 1);
  if (!IsHostText(host) || random.size() != kRandomLength) return std::nullopt;
  for (char c : random)
    if (!IsAlnum(c)) return std::nullopt;
  if (process.size() < 2 || process.size() > 1 + kLongestProcess) return std::nullopt;
  StagedFileParts parts;
  parts.host = std::string(host);
  if (process[0] == static_cast<char>(StagedKind::kHeld)) {
    parts.kind = StagedKind::kHeld;
  } else if (process[0] == static_cast<char>(StagedKind::kClosed)) {
    parts.kind = StagedKind::kClosed;
  } else {
    return std::nullopt;
  }
  for (char c : process.substr(1)) {
    if (c < '0' || c > '9') return std::nullopt;
    parts.process = parts.process * 10 + static_cast<uint64_t>(c - '0');
  }
  return parts;
}

size_t SweepStaleStagedFiles(const std::string& folder) {
  if (files::StagingHostName().empty()) return 0;
  size_t removed = 0;
  for (const std::string& name : files::HiddenPartNames(folder)) {
    std::optional<StagedFileParts> parts = ParseStagedFileName(name);
    if (parts && MayBeStale(*parts) && files::RemoveUnlessHeld(JoinPath(folder, name))) ++removed;
  }
  return removed;
}

void SweepStaleStagedFilesOnce(const std::string& folder) {
  static std::mutex lock;
  static std::set<std::string> swept;
  {
    std::lock_guard<std::mutex> hold(lock);
    if (!swept.insert(folder).second) return;
  }
  SweepStaleStagedFiles(folder);
}

}  // namespace platform
