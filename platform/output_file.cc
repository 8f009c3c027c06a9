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

namespace platform {
namespace {

constexpr size_t kWriteBuffer = 1 << 20;

bool WriteAll(int fd, const char* data, size_t size, int* error) {
  while (size > 0) {
    ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      *error = put < 0 ? errno : EIO;
      return false;
    }
    data += put;
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

std::string NameOf(const std::string& path) {
  size_t cut = path.rfind('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t cut = path.rfind('/');
  if (cut == std::string::npos) return ".";
  if (cut == 0) return "/";
  return path.substr(0, cut);
}

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

AtomicOutput::~AtomicOutput() { Abandon(); }

bool AtomicOutput::Begin(const std::string& destination) {
  Abandon();
  destination_ = destination;
  error_ = 0;
  written_ = 0;
  buffer_.clear();
  if (FileExists(destination)) {
    error_ = EEXIST;
    return false;
  }
  fd_ = CreateTemporaryIn(FolderOf(destination), NameOf(destination), &temporary_);
  if (fd_ < 0) {
    error_ = errno;
    temporary_.clear();
    return false;
  }
  buffer_.reserve(kWriteBuffer);
  return true;
}

bool AtomicOutput::Flush() {
  if (error_ != 0) return false;
  if (buffer_.empty()) return true;
  bool ok = WriteAll(fd_, buffer_.data(), buffer_.size(), &error_);
  buffer_.clear();
  return ok;
}

bool AtomicOutput::Write(const void* data, size_t size) {
  if (fd_ < 0 || error_ != 0) {
    if (error_ == 0) error_ = EBADF;
    return false;
  }
  const char* bytes = static_cast<const char*>(data);
  if (buffer_.size() + size > kWriteBuffer) {
    if (!Flush()) return false;
    if (size >= kWriteBuffer) {
      if (!WriteAll(fd_, bytes, size, &error_)) return false;
      written_ += size;
      return true;
    }
  }
  buffer_.append(bytes, size);
  written_ += size;
  return true;
}

bool AtomicOutput::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (!Flush()) return false;
  if (offset > written_ || size > written_ - offset) {
    error_ = EINVAL;
    return false;
  }
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t put = ::pwrite(fd_, bytes, size, static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      error_ = put < 0 ? errno : EIO;
      return false;
    }
    bytes += put;
    offset += static_cast<uint64_t>(put);
    size -= static_cast<size_t>(put);
  }
  return true;
}

bool AtomicOutput::Commit() {
  if (fd_ < 0) {
    if (error_ == 0) error_ = EBADF;
    Abandon();
    return false;
  }
  bool ok = Flush();
  if (ok && ::fsync(fd_) != 0 && errno != EINVAL) {
    error_ = errno;
    ok = false;
  }
  if (::close(fd_) != 0 && ok) {
    error_ = errno;
    ok = false;
  }
  fd_ = -1;
  if (ok) ok = MoveNoReplace(temporary_, destination_, &error_);
  if (!ok) {
    ::unlink(temporary_.c_str());
  }
  temporary_.clear();
  return ok;
}

void AtomicOutput::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
  buffer_.clear();
}

bool WriteNewFile(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  AtomicOutput out;
  bool ok = out.Begin(path) && out.Write(bytes) && out.Commit();
  if (error) *error = ok ? 0 : out.error();
  return ok;
}

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, int* error) {
  // A symbolic link stays: the file it points to is the one replaced.
  std::string target = path;
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target = real;
      ::free(real);
    }
  }
  std::string temporary;
  int fd = CreateTemporaryIn(FolderOf(target), NameOf(target), &temporary);
  if (fd < 0) {
    if (error) *error = errno;
    return false;
  }
  int failure = 0;
  bool ok = WriteAll(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size(), &failure);
  // Keep the permissions a replaced file had; a new one keeps the usual ones.
  if (ok && ::stat(target.c_str(), &info) == 0) {
    if (::fchmod(fd, info.st_mode & 07777) != 0) { /* the content matters more than the mode */ }
  }
  // The content reaches the disk before the new name does.
  if (ok && ::fsync(fd) != 0 && errno != EINVAL) {
    failure = errno;
    ok = false;
  }
  if (::close(fd) != 0 && ok) {
    failure = errno;
    ok = false;
  }
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    failure = errno;
    ok = false;
  }
  if (!ok) ::unlink(temporary.c_str());
  if (error) *error = failure;
  return ok;
}

bool CopyFileNoReplace(const std::string& from, const std::string& to, int* error) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    if (error) *error = errno;
    return false;
  }
  AtomicOutput out;
  bool ok = out.Begin(to);
  std::vector<char> block(kWriteBuffer);
  int failure = ok ? 0 : out.error();
  while (ok) {
    ssize_t got = ::read(in, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      failure = errno;
      ok = false;
      break;
    }
    if (got == 0) break;
    if (!out.Write(block.data(), static_cast<size_t>(got))) {
      failure = out.error();
      ok = false;
    }
  }
  ::close(in);
  if (ok && !out.Commit()) {
    failure = out.error();
    ok = false;
  }
  if (error) *error = failure;
  return ok;
}

}  // namespace platform
