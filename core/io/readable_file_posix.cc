// ReadableFile on POSIX: open(2) without waiting on a FIFO, positioned reads.
#include "core/io/readable_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace core {

std::string ErrorReason(int error) {
  if (error == 0) return {};
  if (error == kNotRegularFile) return "Not a regular file.";
  return std::string(std::strerror(error)) + ".";
}

namespace {

FileIdentity IdentityOf(const struct stat& info) {
  return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                      static_cast<uint64_t>(info.st_size), static_cast<int64_t>(info.st_mtim.tv_sec),
                      static_cast<int64_t>(info.st_mtim.tv_nsec)};
}

}  // namespace

bool ReadableFile::Open(const std::string& path) {
  Close();
  // Without O_NONBLOCK the open of a FIFO would wait for a writer.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd_ < 0) {
    error_ = errno;
    return false;
  }
  struct stat info;
  if (::fstat(fd_, &info) != 0) {
    error_ = errno;
    Close();
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error_ = EISDIR;
    Close();
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    error_ = kNotRegularFile;
    Close();
    return false;
  }
  // O_NONBLOCK stays set: it only kept the open from waiting on a FIFO or a
  // device, and reads of a regular file ignore it.
  size_ = static_cast<uint64_t>(info.st_size);
  identity_ = IdentityOf(info);
  path_ = path;
  error_ = 0;
  readError_ = 0;
  return true;
}

void ReadableFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  size_ = 0;
}

bool ReadableFile::Unchanged() const {
  struct stat held, named;
  if (fd_ < 0 || ::fstat(fd_, &held) != 0 || ::stat(path_.c_str(), &named) != 0) return false;
  return IdentityOf(held) == identity_ && IdentityOf(named) == identity_;
}

size_t ReadableFile::ReadAt(uint64_t offset, void* out, size_t count) const {
  if (fd_ < 0 || offset >= size_) return 0;
  if (count > size_ - offset) count = static_cast<size_t>(size_ - offset);
  auto* dest = static_cast<char*>(out);
  size_t done = 0;
  while (done < count) {
    ssize_t got = ::pread(fd_, dest + done, count - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      // The size at Open promised these bytes: an end here is a failure too.
      if (readError_ == 0) readError_ = got < 0 ? errno : ENODATA;
      break;
    }
    done += static_cast<size_t>(got);
  }
  return done;
}

}  // namespace core
