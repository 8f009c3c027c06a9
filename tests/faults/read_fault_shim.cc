// Preloaded into a program under test. Reads of a file whose path contains
// FAULT_PATH fail with EIO once FAULT_READ_AFTER bytes (default 0) of it
// have been read through one descriptor; read, pread and copy_file_range all
// count. With FAULT_REPLACE_WITH set instead, the first close of such a
// descriptor renames that file over the path, so that later opens find
// another file. With FAULT_KILL_AT_RENAME=N the process kills itself
// (SIGKILL) at its Nth rename, before the file moves: a run cut off at an
// exact step.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMostFds = 4096;
long long readSoFar[kMostFds];
bool watched[kMostFds];
char watchedPath[kMostFds][512];
bool replaced = false;

template <typename Function>
Function Next(const char* name) {
  return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

bool Tracked(int fd) { return fd >= 0 && fd < kMostFds && watched[fd]; }

void Watch(int fd, const char* path) {
  const char* pattern = std::getenv("FAULT_PATH");
  if (fd < 0 || fd >= kMostFds || !pattern || !*pattern || !path) return;
  // A file opened again through /proc by its descriptor is the file it names
  // (work files have lost their own name by then).
  char resolved[512];
  if (std::strncmp(path, "/proc/self/fd/", 14) == 0) {
    ssize_t length = readlink(path, resolved, sizeof resolved - 1);
    if (length > 0) {
      resolved[length] = '\0';
      path = resolved;
    }
  }
  watched[fd] = std::strstr(path, pattern) != nullptr;
  readSoFar[fd] = 0;
  std::snprintf(watchedPath[fd], sizeof watchedPath[fd], "%s", path);
}

// How many of `count` bytes a read on fd may deliver; -1 (EIO) when none.
long long Allowed(int fd, size_t count) {
  if (!Tracked(fd) || std::getenv("FAULT_REPLACE_WITH")) return static_cast<long long>(count);
  const char* after = std::getenv("FAULT_READ_AFTER");
  long long left = (after ? std::atoll(after) : 0) - readSoFar[fd];
  if (left <= 0) {
    errno = EIO;
    return -1;
  }
  return static_cast<long long>(count) < left ? static_cast<long long>(count) : left;
}

void Count(int fd, ssize_t got) {
  if (got > 0 && Tracked(fd)) readSoFar[fd] += got;
}

using OpenFn = int (*)(const char*, int, ...);
using OpenAtFn = int (*)(int, const char*, int, ...);

}  // namespace

#define MODE_ARGUMENT                                                              \
  mode_t mode = 0;                                                                 \
  if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {                     \
    va_list args;                                                                  \
    va_start(args, flags);                                                         \
    mode = va_arg(args, mode_t);                                                   \
    va_end(args);                                                                  \
  }

extern "C" {

int open(const char* path, int flags, ...) {
  MODE_ARGUMENT
  int fd = Next<OpenFn>("open")(path, flags, mode);
  Watch(fd, path);
  return fd;
}
int open64(const char* path, int flags, ...) {
  MODE_ARGUMENT
  int fd = Next<OpenFn>("open64")(path, flags, mode);
  Watch(fd, path);
  return fd;
}
int openat(int dir, const char* path, int flags, ...) {
  MODE_ARGUMENT
  int fd = Next<OpenAtFn>("openat")(dir, path, flags, mode);
  Watch(fd, path);
  return fd;
}
int openat64(int dir, const char* path, int flags, ...) {
  MODE_ARGUMENT
  int fd = Next<OpenAtFn>("openat64")(dir, path, flags, mode);
  Watch(fd, path);
  return fd;
}

ssize_t read(int fd, void* buffer, size_t count) {
  long long allowed = Allowed(fd, count);
  if (allowed < 0) return -1;
  ssize_t got = Next<ssize_t (*)(int, void*, size_t)>("read")(fd, buffer, static_cast<size_t>(allowed));
  Count(fd, got);
  return got;
}
ssize_t pread(int fd, void* buffer, size_t count, off_t at) {
  long long allowed = Allowed(fd, count);
  if (allowed < 0) return -1;
  ssize_t got = Next<ssize_t (*)(int, void*, size_t, off_t)>("pread")(fd, buffer, static_cast<size_t>(allowed), at);
  Count(fd, got);
  return got;
}
ssize_t pread64(int fd, void* buffer, size_t count, off_t at) {
  long long allowed = Allowed(fd, count);
  if (allowed < 0) return -1;
  ssize_t got = Next<ssize_t (*)(int, void*, size_t, off_t)>("pread64")(fd, buffer, static_cast<size_t>(allowed), at);
  Count(fd, got);
  return got;
}
ssize_t copy_file_range(int from, loff_t* fromAt, int to, loff_t* toAt, size_t count, unsigned flags) {
  long long allowed = Allowed(from, count);
  if (allowed < 0) return -1;
  ssize_t got = Next<ssize_t (*)(int, loff_t*, int, loff_t*, size_t, unsigned)>("copy_file_range")(
      from, fromAt, to, toAt, static_cast<size_t>(allowed), flags);
  Count(from, got);
  return got;
}

int rename(const char* from, const char* to) {
  static long long renames = 0;
  const char* killAt = std::getenv("FAULT_KILL_AT_RENAME");
  if (killAt && ++renames == std::atoll(killAt)) raise(SIGKILL);
  return Next<int (*)(const char*, const char*)>("rename")(from, to);
}

int close(int fd) {
  const char* replacement = std::getenv("FAULT_REPLACE_WITH");
  if (Tracked(fd) && replacement && !replaced) {
    replaced = true;
    std::rename(replacement, watchedPath[fd]);
  }
  if (fd >= 0 && fd < kMostFds) watched[fd] = false;
  return Next<int (*)(int)>("close")(fd);
}

}  // extern "C"
