// The file system calls of output_file.cc on Linux and other POSIX systems.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "platform/file_system.h"
#include "platform/output_file.h"

namespace platform {
namespace files {

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

// Falls back to the clock when the random source is unavailable.
uint64_t RandomBits() {
  uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    bits = static_cast<uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(::getpid()) << 32 ^
           reinterpret_cast<uintptr_t>(&now);
  }
  return bits;
}

// With the usual mode for new files (0666 less the umask).
int CreateNew(const std::string& path, int* error) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) *error = errno;
  return fd;
}

int CreateUnnamedIn(const std::string& folder) {
#ifdef O_TMPFILE
  return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)folder;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

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

int DuplicateEmptied(int fd, int* error) {
  int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  if (copy < 0 || ::ftruncate(copy, 0) != 0) {
    *error = errno;
    if (copy >= 0) ::close(copy);
    return -1;
  }
  return copy;
}

// A file system that cannot sync (EINVAL) has nothing to flush.
int SyncToDisk(int fd) { return ::fsync(fd) != 0 && errno != EINVAL ? errno : 0; }

int CloseFile(int fd) { return ::close(fd) != 0 ? errno : 0; }

void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsPlainFile(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsMissing(int error) { return error == ENOENT || error == ENOTDIR; }

void KeepPermissionsOf(const std::string& path, int fd) {
  struct stat info;
  if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
    if (::fchmod(fd, info.st_mode & 07777) != 0) { /* the content matters more than the mode */ }
  }
}

bool MoveReplacing(const std::string& from, const std::string& to, int* error) {
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  *error = errno;
  return false;
}

}  // namespace files

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

}  // namespace platform
