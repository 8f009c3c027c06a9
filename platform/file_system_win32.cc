// The file system calls of output_file.cc on Windows. Files are created with
// CreateFileW and kept as C runtime descriptors; a finished file takes its
// name with MoveFileExW, which refuses to replace without
// MOVEFILE_REPLACE_EXISTING, and a settings file is replaced with
// ReplaceFileW, which keeps the old file's attributes and security.
#define _CRT_RAND_S  // rand_s
#include <io.h>
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "platform/file_system.h"
#include "platform/output_file.h"
#include "platform/system_error.h"
#include "platform/wide_text.h"

namespace platform {
namespace files {
namespace {

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd)); }

// `path` made absolute against the current folder. ReplaceFileW is given
// full paths: Wine's refuses relative ones with ERROR_DIRECTORY. The path
// stays as it is when the system cannot resolve it.
std::wstring FullPath(const std::wstring& path) {
  DWORD need = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (need == 0) return path;
  std::wstring full(need, L'\0');
  DWORD length = ::GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
  if (length == 0 || length >= need) return path;
  full.resize(length);
  return full;
}

}  // namespace

bool WriteAllAt(int fd, const uint8_t* data, size_t size, uint64_t offset, int* error) {
  HANDLE handle = HandleOf(fd);
  while (size > 0) {
    OVERLAPPED place{};
    place.Offset = static_cast<DWORD>(offset);
    place.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD want = static_cast<DWORD>(std::min<size_t>(size, size_t{1} << 30));
    DWORD put = 0;
    if (!::WriteFile(handle, data, want, &put, &place) || put == 0) {
      *error = LastSystemError();
      return false;
    }
    data += put;
    offset += put;
    size -= put;
  }
  return true;
}

uint64_t RandomBits() {
  uint64_t bits = 0;
  unsigned int part = 0;
  for (int i = 0; i < 2; ++i) {
    if (::rand_s(&part) != 0) part = static_cast<unsigned int>(::GetTickCount64() ^ ::GetCurrentProcessId());
    bits = bits << 32 | part;
  }
  return bits;
}

int CreateNew(const std::string& path, int* error) {
  HANDLE handle = ::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *error = LastSystemError();
    return -1;
  }
  int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) {
    *error = EMFILE;
    ::CloseHandle(handle);
    ::DeleteFileW(Widen(path).c_str());
  }
  return fd;
}

// Windows gives no file a name after it was made: every output goes through
// a named temporary file.
int CreateUnnamedIn(const std::string&) { return -1; }

bool LinkUnnamed(int, const std::string&, int* error) {
  *error = ERROR_NOT_SUPPORTED;
  return false;
}

int DuplicateEmptied(int fd, int* error) {
  int copy = ::_dup(fd);
  if (copy < 0 || ::_chsize_s(copy, 0) != 0) {
    *error = copy < 0 ? EMFILE : LastSystemError();
    if (copy >= 0) ::_close(copy);
    return -1;
  }
  return copy;
}

int SyncToDisk(int fd) { return ::FlushFileBuffers(HandleOf(fd)) ? 0 : LastSystemError(); }

int CloseFile(int fd) { return ::_close(fd) != 0 ? EBADF : 0; }

void RemoveFile(const std::string& path) { ::DeleteFileW(Widen(path).c_str()); }

bool IsFolder(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsPlainFile(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE));
}

bool IsMissing(int error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// ReplaceFileW carries the attributes over itself.
void KeepPermissionsOf(const std::string&, int) {}

bool MoveReplacing(const std::string& from, const std::string& to, int* error) {
  std::wstring source = FullPath(Widen(from)), target = FullPath(Widen(to));
  if (::ReplaceFileW(target.c_str(), source.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
    return true;
  // ReplaceFileW wants a file to replace; a first write only moves.
  DWORD replaceError = ::GetLastError();
  if (replaceError == ERROR_FILE_NOT_FOUND || replaceError == ERROR_PATH_NOT_FOUND) {
    if (::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    replaceError = ::GetLastError();
  }
  *error = SystemErrorCode(replaceError);
  return false;
}

// Staged files keep their plain names on Windows: a file that its writer
// holds open cannot be removed there, and no sweep runs.
const std::string& StagingHostName() {
  static const std::string none;
  return none;
}

uint64_t CurrentProcessId() { return ::GetCurrentProcessId(); }

bool ProcessEnded(uint64_t) { return false; }

std::vector<std::string> HiddenPartNames(const std::string&) { return {}; }

bool HoldStaged(int, const std::string&, int*) { return true; }

bool RemoveUnlessHeld(const std::string&) { return false; }

}  // namespace files

bool FileExists(const std::string& path) {
  return ::GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MoveNoReplace(const std::string& from, const std::string& to, int* error) {
  if (::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
  if (error) *error = LastSystemError();
  return false;
}

}  // namespace platform
