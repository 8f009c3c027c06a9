// Work files on Windows: GetTempFileNameW makes a new file with the prefix
// "emf" in the user's temporary folder, which is opened again to be removed
// when its last handle closes, so a killed run leaves nothing behind.
#include <io.h>
#include <fcntl.h>

#include <cerrno>

#include "platform/system_error.h"
#include "platform/temp_files.h"
#include "platform/wide_text.h"

namespace platform {

std::string TempFolder() {
  wchar_t folder[MAX_PATH + 1];
  DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return ".";
  std::string text = Narrow(std::wstring_view(folder, length));
  while (text.size() > 3 && (text.back() == '\\' || text.back() == '/')) text.pop_back();
  return text;
}

WorkFile::~WorkFile() { Close(); }

void WorkFile::Close() {
  if (fd_ >= 0) ::_close(fd_);
  fd_ = -1;
  name_.clear();
}

bool WorkFile::Create(int* error) {
  Close();
  std::wstring folder = Widen(TempFolder());
  wchar_t name[MAX_PATH];
  if (::GetTempFileNameW(folder.c_str(), L"emf", 0, name) == 0) {
    if (error) *error = LastSystemError();
    return false;
  }
  HANDLE handle = ::CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    if (error) *error = LastSystemError();
    ::DeleteFileW(name);
    return false;
  }
  int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    if (error) *error = EMFILE;
    return false;
  }
  fd_ = fd;
  name_ = Narrow(name);
  if (error) *error = 0;
  return true;
}

// The file keeps its name while it is open; readers open it with
// FILE_SHARE_DELETE.
std::string WorkFile::path() const { return fd_ < 0 ? std::string() : name_; }

}  // namespace platform
