#include "platform/output_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/paths.h"

namespace platform {
namespace {

constexpr size_t kWriteBuffer = 1 << 20;

bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, int* error) {
  while (size > 0) {
    ssize_t put = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *error = put < 0 ? errno : EIO;
      return false;
    }
    data += put;
    offset += static_cast<uint64_t>(put);
    size -= static_cast<size_t>(put);
  }
  return true;
}

// Six characters for a temporary name, from the system's random source
// (falling back to the clock when it is unavailable).
std::string RandomSuffix() {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    bits = static_cast<uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(::getpid()) << 32 ^
           reinterpret_cast<uintptr_t>(&now);
  }
  std::string suffix;
  for (int i = 0; i < 6; ++i) {
    suffix.push_back(kLetters[bits % 62]);
    bits /= 62;
  }
  return suffix;
}

// A new, empty, uniquely named file in `folder`, hidden and named after the
// destination. It is created with the usual mode for new files (0666 less
// the umask), which the finished file keeps.
int CreateTemporaryIn(const std::string& folder, const std::string& stem, std::string* path) {
  // Keep the name within the file system's limit when the stem is long.
  constexpr size_t kLongestStem = 200;
  std::string base = folder + "/." + stem.substr(0, kLongestStem) + ".part-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = base + RandomSuffix();
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      *path = name;
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  errno = EEXIST;
  return -1;
}

// A file in `folder` without a name (O_TMPFILE): it gets one only when it is
// linked into place, so a run killed before that leaves nothing behind. -1
// where the file system cannot make one.
int CreateUnnamedIn(const std::string& folder) {
#ifdef O_TMPFILE
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)folder;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

// Gives an unnamed file the name `to`, which must not exist.
bool LinkUnnamed(int fd, const std::string& to, int* error) {
  // The descriptor itself (where the process may), else its entry in /proc.
  if (::linkat(fd, "", AT_FDCWD, to.c_str(), AT_EMPTY_PATH) == 0) return true;
  if (errno != EEXIST) {
    std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, to.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
  }
  *error = errno;
  return false;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

bool MoveNoReplace(const std::string& from, const std::string& to, int* error) {
#ifdef SYS_renameat2
  if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  int renameError = errno;
  if (renameError != EINVAL && renameError != ENOSYS && renameError != EOPNOTSUPP) {
    if (error) *error = renameError;
    return false;
  }
#endif
  // A file system without rename-no-replace: a hard link fails on an
  // existing name just the same.
  if (::link(from.c_str(), to.c_str()) != 0) {
    if (error) *error = errno;
    return false;
  }
  ::unlink(from.c_str());
  return true;
}

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
  fd_ = CreateUnnamedIn(FolderOf(destination));
  if (fd_ < 0) fd_ = CreateTemporaryIn(FolderOf(destination), NameOf(destination), &temporary_);
  if (fd_ < 0) {
    error_ = errno;
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
  if (ok && ::fsync(fd_) != 0 && errno != EINVAL) {
    error_ = errno;
    ok = false;
  }
  const bool unnamed = temporary_.empty();
  bool linked = ok && unnamed && LinkUnnamed(fd_, destination_, &error_);
  if (unnamed) ok = linked;
  if (::close(fd_) != 0 && ok) {
    error_ = errno;
    ok = false;
    if (linked) ::unlink(destination_.c_str());
  }
  fd_ = -1;
  writer_.Detach();
  if (ok && !unnamed) ok = MoveNoReplace(temporary_, destination_, &error_);
  if (!ok && !unnamed) {
    ::unlink(temporary_.c_str());
  }
  temporary_.clear();
  return ok;
}

void AtomicOutput::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  writer_.Detach();
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
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
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    *failure = EISDIR;  // found now, not when the set is half in place
    return false;
  }
  int fd = CreateTemporaryIn(FolderOf(path), NameOf(path), temporary);
  if (fd < 0) {
    *failure = errno;
    return false;
  }
  bool ok = WriteAllAt(fd, bytes.data(), bytes.size(), 0, failure);
  // Keep the permissions a replaced file had; a new one keeps the usual ones.
  if (ok && ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    if (::fchmod(fd, info.st_mode & 07777) != 0) { /* the content matters more than the mode */ }
  }
  // The content reaches the disk before the new name does.
  if (ok && ::fsync(fd) != 0 && errno != EINVAL) {
    *failure = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    *failure = errno;
    ok = false;
  }
  if (!ok) ::unlink(temporary->c_str());
  return ok;
}

}  // namespace

ReplacementSet::~ReplacementSet() {
  for (const Staged& file : staged_) ::unlink(file.temporary.c_str());
}

bool ReplacementSet::Stage(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  std::string temporary;
  int failure = 0;
  bool ok = StageFile(path, bytes, &temporary, &failure);
  if (ok) staged_.push_back(Staged{path, std::move(temporary)});
  if (error) *error = failure;
  return ok;
}

bool ReplacementSet::Commit(int* error) {
  int failure = 0;
  size_t done = 0;
  for (; done < staged_.size(); ++done) {
    if (::rename(staged_[done].temporary.c_str(), staged_[done].path.c_str()) != 0) {
      failure = errno;
      break;
    }
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<ptrdiff_t>(done));
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
