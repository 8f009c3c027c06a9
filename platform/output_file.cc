#include "platform/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#ifdef __linux__
#include <unistd.h>
#endif

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/staged_files.h"

namespace platform {
namespace {

constexpr size_t kWriteBuffer = 1 << 20;

using files::WriteAllAt;

// Six characters for a temporary name.
std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  uint64_t bits = files::RandomBits();
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix.push_back(kLetters[bits % 62]);
    bits /= 62;
  }
  return suffix;
}

// A new, empty, uniquely named file in `folder`, hidden and named after the
// destination (staged_files.h), created with the usual mode for new files,
// which the finished file keeps. The first one in a folder removes the stale
// ones that killed runs left there. A file of kind kHeld is returned locked.
int CreateTemporaryIn(const std::string& folder, const std::string& stem, StagedKind kind, std::string* path,
                      int* error) {
  // Keep the name within the file system's limit when the stem is long.
  constexpr size_t kLongestStem = 150;
  const std::string& host = files::StagingHostName();
  if (!host.empty()) SweepStaleStagedFilesOnce(folder);
  const std::string shortStem = stem.substr(0, kLongestStem);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = host.empty() ? "." + shortStem + ".part-" + RandomSuffix()
                                     : StagedFileName(shortStem, kind, host, files::CurrentProcessId(), RandomSuffix());
    name = JoinPath(folder, name);
    int fd = files::CreateNew(name, error);
    if (fd >= 0) {
      if (kind == StagedKind::kHeld && !host.empty() && !files::HoldStaged(fd, name, error)) {
        // Another machine's sweep took the name before the lock was held.
        files::CloseFile(fd);
        continue;
      }
      *path = name;
      return fd;
    }
    if (*error != EEXIST) return -1;
  }
  *error = EEXIST;
  return -1;
}

}  // namespace

void BufferedWriter::Attach(int fd) {
  fd_ = fd;
  error_ = 0;
  written_ = 0;
  flushed_ = 0;
  buffer_.clear();
  buffer_.reserve(kWriteBuffer);
}

void BufferedWriter::Detach() {
  fd_ = -1;
  buffer_.clear();
}

bool BufferedWriter::Flush() {
  if (error_ != 0) return false;
  if (fd_ < 0) {
    error_ = EBADF;
    return false;
  }
  if (buffer_.empty()) return true;
  if (!WriteAllAt(fd_, buffer_.data(), buffer_.size(), flushed_, &error_)) return false;
  flushed_ += buffer_.size();
  buffer_.clear();
  return true;
}

bool BufferedWriter::Write(const void* data, size_t size) {
  if (error_ != 0 || fd_ < 0) {
    if (error_ == 0) error_ = EBADF;
    return false;
  }
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  if (buffer_.size() + size > kWriteBuffer) {
    if (!Flush()) return false;
    if (size >= kWriteBuffer) {
      if (!WriteAllAt(fd_, bytes, size, flushed_, &error_)) return false;
      flushed_ += size;
      written_ += size;
      return true;
    }
  }
  buffer_.insert(buffer_.end(), bytes, bytes + size);
  written_ += size;
  return true;
}

bool BufferedWriter::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (error_ != 0 || fd_ < 0) {
    if (error_ == 0) error_ = EBADF;
    return false;
  }
  if (offset > written_ || size > written_ - offset) {
    error_ = EINVAL;
    return false;
  }
  // The part that is still in the buffer is patched there, the rest in the file.
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  if (offset < flushed_) {
    done = static_cast<size_t>(std::min<uint64_t>(size, flushed_ - offset));
    if (!WriteAllAt(fd_, bytes, done, offset, &error_)) return false;
  }
  if (done < size) std::memcpy(buffer_.data() + (offset + done - flushed_), bytes + done, size - done);
  return true;
}

CopyStatus BufferedWriter::CopyFrom(const core::ReadableFile& file, uint64_t offset, uint64_t length,
                                    uint64_t* copied) {
  *copied = 0;
  uint64_t present = offset < file.size() ? std::min(length, file.size() - offset) : 0;
  if (present == 0) return error_ == 0 ? CopyStatus::kOk : CopyStatus::kWriteFailed;
  if (!Flush()) return CopyStatus::kWriteFailed;
#ifdef __linux__
  // The system copies file to file without the bytes passing through here
  // (or shares them, where the file system can). What it cannot do, or stops
  // doing, goes through the block loop below, which tells a read failure
  // from a write failure.
  while (*copied < present) {
    loff_t from = static_cast<loff_t>(offset + *copied);
    loff_t to = static_cast<loff_t>(flushed_);
    size_t want = static_cast<size_t>(std::min<uint64_t>(present - *copied, uint64_t{1} << 30));
    ssize_t moved = ::copy_file_range(file.fd(), &from, fd_, &to, want, 0);
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) break;
    flushed_ += static_cast<uint64_t>(moved);
    written_ += static_cast<uint64_t>(moved);
    *copied += static_cast<uint64_t>(moved);
  }
  if (*copied == present) return CopyStatus::kOk;
#endif
  std::vector<uint8_t> block(static_cast<size_t>(std::min<uint64_t>(present - *copied, kWriteBuffer)));
  while (*copied < present) {
    size_t want = static_cast<size_t>(std::min<uint64_t>(present - *copied, block.size()));
    size_t got = file.ReadAt(offset + *copied, block.data(), want);
    if (got > 0) {
      if (!WriteAllAt(fd_, block.data(), got, flushed_, &error_)) return CopyStatus::kWriteFailed;
      flushed_ += got;
      written_ += got;
    }
    *copied += got;
    if (got < want) return CopyStatus::kReadFailed;
  }
  return CopyStatus::kOk;
}

AtomicOutput::~AtomicOutput() { Abandon(); }

bool AtomicOutput::Begin(const std::string& destination) {
  Abandon();
  destination_ = destination;
  error_ = 0;
  if (FileExists(destination)) {
    error_ = EEXIST;
    return false;
  }
  temporary_.clear();
  fd_ = files::CreateUnnamedIn(FolderOf(destination));
  if (fd_ < 0)
    fd_ = CreateTemporaryIn(FolderOf(destination), NameOf(destination), StagedKind::kHeld, &temporary_, &error_);
  if (fd_ < 0) {
    temporary_.clear();
    return false;
  }
  writer_.Attach(fd_);
  return true;
}

bool AtomicOutput::Write(const void* data, size_t size) {
  if (error_ != 0) return false;
  return writer_.Write(data, size);
}

bool AtomicOutput::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (error_ != 0) return false;
  return writer_.WriteAt(offset, data, size);
}

CopyStatus AtomicOutput::CopyFrom(const core::ReadableFile& file, uint64_t offset, uint64_t length,
                                  uint64_t* copied) {
  *copied = 0;
  if (error_ != 0) return CopyStatus::kWriteFailed;
  return writer_.CopyFrom(file, offset, length, copied);
}

bool AtomicOutput::Commit() {
  if (fd_ < 0) {
    if (error_ == 0 && writer_.error() == 0) error_ = EBADF;
    Abandon();
    return false;
  }
  bool ok = error_ == 0 && writer_.Flush();
  if (ok && (error_ = files::SyncToDisk(fd_)) != 0) ok = false;
  const bool unnamed = temporary_.empty();
  // The file takes its name while it is still open: an unnamed file can
  // only be linked so, and a staged file keeps its writer's lock until it is
  // in place, so that no other run's sweep takes it for abandoned. (Where
  // staged files are not locked, it is closed first.)
  const bool placeOpen = unnamed || !files::StagingHostName().empty();
  bool placed = false;
  if (ok && placeOpen) {
    placed = unnamed ? files::LinkUnnamed(fd_, destination_, &error_) : MoveNoReplace(temporary_, destination_, &error_);
    ok = placed;
  }
  if (int closeError = files::CloseFile(fd_); closeError != 0 && ok) {
    error_ = closeError;
    ok = false;
    if (placed) files::RemoveFile(destination_);
  }
  fd_ = -1;
  writer_.Detach();
  if (ok && !placeOpen) ok = MoveNoReplace(temporary_, destination_, &error_);
  if (!ok && !unnamed && !placed) files::RemoveFile(temporary_);
  temporary_.clear();
  return ok;
}

void AtomicOutput::Abandon() {
  if (fd_ >= 0) files::CloseFile(fd_);
  fd_ = -1;
  writer_.Detach();
  if (!temporary_.empty()) files::RemoveFile(temporary_);
  temporary_.clear();
}

bool WriteNewFile(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  AtomicOutput out;
  bool ok = out.Begin(path) && out.Write(bytes) && out.Commit();
  if (error) *error = ok ? 0 : out.error();
  return ok;
}

namespace {

// Writes `bytes` into a new temporary file beside `path`, ready to take its
// name. The name itself is what gets replaced later: a symbolic link there
// gives way to the new file, and the file it pointed to stays as it was.
bool StageFile(const std::string& path, std::span<const uint8_t> bytes, std::string* temporary, int* failure) {
  *failure = 0;
  if (files::IsFolder(path)) {
    *failure = EISDIR;  // found now, not when the set is half in place
    return false;
  }
  int fd = CreateTemporaryIn(FolderOf(path), NameOf(path), StagedKind::kClosed, temporary, failure);
  if (fd < 0) return false;
  bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0, failure);
  // Keep the permissions a replaced file had; a new one keeps the usual ones.
  if (ok) files::KeepPermissionsOf(path, fd);
  // The content reaches the disk before the new name does.
  if (ok && (*failure = files::SyncToDisk(fd)) != 0) ok = false;
  if (int closeError = files::CloseFile(fd); closeError != 0 && ok) {
    *failure = closeError;
    ok = false;
  }
  if (!ok) files::RemoveFile(*temporary);
  return ok;
}

}  // namespace

ReplacementSet::~ReplacementSet() {
  for (const Staged& file : staged_) files::RemoveFile(file.temporary);
}

bool ReplacementSet::Stage(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  std::string temporary;
  int failure = 0;
  bool ok = StageFile(path, bytes, &temporary, &failure);
  if (ok) staged_.push_back(Staged{path, std::move(temporary)});
  if (error) *error = failure;
  return ok;
}

bool ReplacementSet::StageFirst(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  std::string temporary;
  int failure = 0;
  bool ok = StageFile(path, bytes, &temporary, &failure);
  if (ok) staged_.insert(staged_.begin(), Staged{path, std::move(temporary)});
  if (error) *error = failure;
  return ok;
}

bool ReplacementSet::Commit(int* error) {
  int failure = 0;
  size_t done = 0;
  for (; done < staged_.size(); ++done) {
    if (!files::MoveReplacing(staged_[done].temporary, staged_[done].path, &failure)) break;
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<ptrdiff_t>(done));
  placed_ += done;
  if (error) *error = failure;
  return staged_.empty();
}

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  ReplacementSet set;
  return set.Stage(path, bytes, error) && set.Commit(error);
}

bool CopyFileNoReplace(const std::string& from, const std::string& to, int* error) {
  core::ReadableFile in;
  if (!in.Open(from)) {
    if (error) *error = in.error();
    return false;
  }
  AtomicOutput out;
  uint64_t copied = 0;
  bool ok = out.Begin(to) && out.CopyFrom(in, 0, in.size(), &copied) == CopyStatus::kOk && out.Commit();
  if (error) *error = ok ? 0 : (out.error() ? out.error() : EIO);
  return ok;
}

}  // namespace platform
