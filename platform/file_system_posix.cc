// The file system calls of output_file.cc on Linux and other POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
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

const std::string& StagingHostName() {
  static const std::string host = [] {
    char buffer[256] = {};
    std::string name;
    if (::gethostname(buffer, sizeof buffer - 1) == 0) name = buffer;
    if (name.size() > 64) name.resize(64);
    for (char& c : name) {
      bool kept = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
      if (!kept) c = '_';
    }
    return name.empty() ? std::string("_") : name;
  }();
  return host;
}

uint64_t CurrentProcessId() { return static_cast<uint64_t>(::getpid()); }

bool ProcessEnded(uint64_t id) {
  if (id == 0 || id > static_cast<uint64_t>(INT_MAX)) return false;
  return ::kill(static_cast<pid_t>(id), 0) != 0 && errno == ESRCH;
}

std::vector<std::string> HiddenPartNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return names;
  while (const struct dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.' && std::strstr(entry->d_name, ".part-")) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  return names;
}

namespace {

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

bool HoldStaged(int fd, const std::string& path, int* error) {
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    // Without locks the file stays unlocked; a sweep cannot lock it either.
    return true;
  }
  struct stat opened, named;
  if (::fstat(fd, &opened) != 0 || ::lstat(path.c_str(), &named) != 0 || !SameFile(opened, named)) {
    *error = ENOENT;
    return false;
  }
  return true;
}

bool RemoveUnlessHeld(const std::string& path) {
  // Opened for writing where it may be: a lock on a network file system is
  // a write lock. (Where the lock cannot be tried, the file stays.)
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int fd = ::open(path.c_str(), O_RDWR | kFlags);
  if (fd < 0 && errno == EACCES) fd = ::open(path.c_str(), O_RDONLY | kFlags);
  if (fd < 0) return false;
  bool removed = false;
  struct stat opened, named;
  if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) {
    removed = ::unlink(path.c_str()) == 0;
  }
  ::close(fd);
  return removed;
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
