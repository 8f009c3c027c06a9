#include "platform/output_file.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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

// A new, empty, uniquely named file in `folder`.
int CreateTemporaryIn(const std::string& folder, const std::string& stem, std::string* path) {
  std::string pattern = folder + "/." + stem + ".part-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) *path = name.data();
  return fd;
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
  if (offset + size > written_) {
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
  std::string temporary;
  int fd = CreateTemporaryIn(FolderOf(path), NameOf(path), &temporary);
  if (fd < 0) {
    if (error) *error = errno;
    return false;
  }
  int failure = 0;
  bool ok = WriteAll(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size(), &failure);
  // Keep the permissions a replaced file had, else the usual ones.
  struct stat info;
  mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
  if (ok && ::fchmod(fd, mode) != 0) { /* the content matters more than the mode */ }
  if (::close(fd) != 0 && ok) {
    failure = errno;
    ok = false;
  }
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
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
