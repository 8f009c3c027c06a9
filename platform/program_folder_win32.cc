// The program folder on Windows: the module path from GetModuleFileNameW;
// the per-user stand-in folder under %APPDATA%.
#include <cstdlib>
#include <vector>

#include "platform/program_folder.h"
#include "platform/wide_text.h"

namespace platform {

std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD got = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return std::string();
    if (got < buffer.size()) return Narrow(std::wstring_view(buffer.data(), got));
    buffer.resize(buffer.size() * 2);
  }
}

std::string ExecutableFolder() { return FolderOf(ExecutablePath()); }

std::string UserSettingsFolder() {
  const wchar_t* appData = ::_wgetenv(L"APPDATA");
  std::string base = appData && *appData ? Narrow(appData) : ExecutableFolder();
  std::string folder = base + "\\marlowby";
  ::CreateDirectoryW(Widen(folder).c_str(), nullptr);
  return folder;
}

// Whether a new file can be made in the folder: the one way to know on
// Windows, where access rights are not read from a mode.
static bool FolderIsWritable(const std::string& folder) {
  std::wstring probe = Widen(folder) + L"\\.marlowby-probe";
  HANDLE handle = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_EXISTS;
  ::CloseHandle(handle);
  return true;
}

std::string SettingsFolder() {
  std::string folder = ExecutableFolder();
  if (FolderIsWritable(folder)) return folder;
  return UserSettingsFolder();
}

}  // namespace platform
