// ReadableFile on Windows: CreateFileW with every sharing mode (so that the
// suite never keeps another program from renaming or deleting a font it
// reads), positioned reads through ReadFile with an offset. The handle is
// kept as a C runtime descriptor, so that fd() means the same as on POSIX.
#include "core/io/readable_file.h"

#include <io.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <algorithm>

#include "platform/system_error.h"
#include "platform/wide_text.h"

namespace core {

// The codes kept on Windows are the system's own (see platform/system_error.h),
// so their words come from the system too, except for the few that the suite
// sets itself for what the system has no code for: as system codes their
// numbers would name unrelated faults (EISDIR is ERROR_NOT_READY, EFBIG
// ERROR_SECTOR_NOT_FOUND), so they get the words they have on POSIX. EIO is
// not among them: its number is ERROR_ACCESS_DENIED, which the system gives
// far more often.
std::string ErrorReason(int error) {
  if (error == 0) return {};
  if (error == kNotRegularFile) return "Not a regular file.";
  if (error == EEXIST) return "The file exists.";
  switch (error) {
    case EISDIR: return "Is a directory.";
    case EFBIG: return "File too large.";
    case ENODATA: return "No data available.";
    case EMFILE: return "Too many open files.";
    case EBADF: return "Bad file descriptor.";
    case EINVAL: return "Invalid argument.";
    default: break;
  }
  wchar_t* text = nullptr;
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0,
                                  nullptr);
  std::wstring words(text ? text : L"", length);
  if (text) ::LocalFree(text);
  while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ')) words.pop_back();
  if (words.empty()) return "System error " + std::to_string(error) + ".";
  return platform::Narrow(words);
}

namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

bool IdentityOf(HANDLE handle, FileIdentity* identity) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!::GetFileInformationByHandle(handle, &info)) return false;
  uint64_t written = (uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
  *identity = FileIdentity{info.dwVolumeSerialNumber,
                           (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
                           (uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow,
                           static_cast<int64_t>(written / 10000000), static_cast<int64_t>(written % 10000000 * 100)};
  return true;
}

HANDLE OpenForReading(const std::string& path) {
  return ::CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

bool ReadableFile::Open(const std::string& path) {
  Close();
  DWORD attributes = ::GetFileAttributesW(platform::Widen(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    error_ = EISDIR;
    return false;
  }
  HANDLE handle = OpenForReading(path);
  if (handle == INVALID_HANDLE_VALUE) {
    error_ = platform::LastSystemError();
    return false;
  }
  FileIdentity identity;
  if (::GetFileType(handle) != FILE_TYPE_DISK) {
    ::CloseHandle(handle);
    error_ = kNotRegularFile;
    return false;
  }
  if (!IdentityOf(handle, &identity)) {
    error_ = platform::LastSystemError();
    ::CloseHandle(handle);
    return false;
  }
  fd_ = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd_ < 0) {
    error_ = EMFILE;
    ::CloseHandle(handle);
    return false;
  }
  size_ = identity.size;
  identity_ = identity;
  path_ = path;
  error_ = 0;
  readError_ = 0;
  return true;
}

void ReadableFile::Close() {
  if (fd_ >= 0) ::_close(fd_);
  fd_ = -1;
  size_ = 0;
}

bool ReadableFile::Unchanged() const {
  FileIdentity held, named;
  if (fd_ < 0 || !IdentityOf(HandleOf(fd_), &held)) return false;
  HANDLE again = OpenForReading(path_);
  if (again == INVALID_HANDLE_VALUE) return false;
  bool known = IdentityOf(again, &named);
  ::CloseHandle(again);
  return known && held == identity_ && named == identity_;
}

size_t ReadableFile::ReadAt(uint64_t offset, void* out, size_t count) const {
  if (fd_ < 0 || offset >= size_) return 0;
  if (count > size_ - offset) count = static_cast<size_t>(size_ - offset);
  auto* dest = static_cast<char*>(out);
  size_t done = 0;
  HANDLE handle = HandleOf(fd_);
  while (done < count) {
    uint64_t at = offset + done;
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(at);
    place.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD want = static_cast<DWORD>(std::min<size_t>(count - done, size_t{1} << 30));
    DWORD got = 0;
    bool read = ::ReadFile(handle, dest + done, want, &got, &place);
    if (!read || got == 0) {
      // The size at Open promised these bytes: an end here is a failure too.
      if (readError_ == 0)
        readError_ = read || ::GetLastError() == ERROR_HANDLE_EOF ? ENODATA : platform::LastSystemError();
      break;
    }
    done += got;
  }
  return done;
}

}  // namespace core
