#include "shell/win32/win32_kit.h"

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace shell::win32 {
namespace {

bool IsUtf8(std::string_view line) {
  return line.empty() || ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, line.data(),
                                               static_cast<int>(line.size()), nullptr, 0) > 0;
}

std::wstring Decode(std::string_view line) {
  if (line.empty()) return {};
  if (IsUtf8(line)) return platform::Widen(line);
  const int size = static_cast<int>(line.size());
  int wide = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, line.data(), size, nullptr, 0);
  if (wide > 0) {
    std::wstring text(static_cast<size_t>(wide), L'\0');
    ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, line.data(), size, text.data(), wide);
    return text;
  }
  std::wstring latin;
  for (char c : line) latin.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return latin;
}

}  // namespace

std::string WindowText(HWND window) {
  int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int got = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return platform::Narrow(text);
}

void SetWindowText(HWND window, std::string_view text) { ::SetWindowTextW(window, platform::Widen(text).c_str()); }

std::wstring ShownText(std::string_view text) {
  std::wstring shown;
  shown.reserve(text.size());
  size_t start = 0;
  while (start <= text.size()) {
    size_t feed = text.find('\n', start);
    size_t end = feed == std::string_view::npos ? text.size() : feed;
    size_t textEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
    shown += Decode(text.substr(start, textEnd - start));
    if (feed == std::string_view::npos) break;
    shown += L"\r\n";
    start = feed + 1;
  }
  return shown;
}

UINT MessageIcon(const std::string& caption) {
  if (caption == "Information" || caption == "Message" || caption == "Ouch!!") return MB_ICONINFORMATION;
  return MB_ICONWARNING;
}

void LeaveOwnConsole() {
  DWORD processes[2] = {};
  if (::GetConsoleProcessList(processes, 2) == 1) ::FreeConsole();
}

HWND ActiveOwner(HWND owner) {
  if (!owner) return nullptr;
  HWND popup = ::GetLastActivePopup(owner);
  return popup && ::IsWindowEnabled(popup) ? popup : owner;
}

void MessageBoxes::Show(const Message& message) {
  std::string text = message.text;
  if (!message.detail.empty()) text += "\n\n" + message.detail;
  ::MessageBoxW(ActiveOwner(owner_), ShownText(text).c_str(), platform::Widen(message.caption).c_str(),
                MB_OK | MessageIcon(message.caption));
}

std::wstring DialogFilter(const std::string& filterList) {
  std::wstring filter;
  for (const auto& [label, pattern] : FilterPairs(filterList.empty() ? "All Files (*.*)|*.*|" : filterList)) {
    filter += platform::Widen(label);
    filter.push_back(L'\0');
    filter += platform::Widen(pattern);
    filter.push_back(L'\0');
  }
  filter.push_back(L'\0');
  return filter;
}

namespace {

// The folder chooser starts in the proposed folder.
int CALLBACK StartInFolder(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

std::optional<std::string> ChooseFolder(HWND owner, const ChooserRequest& request) {
  std::wstring title = platform::Widen(request.title);
  std::wstring start = platform::Widen(request.proposedName);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = StartInFolder;
  browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
  if (!chosen) return std::nullopt;
  std::vector<wchar_t> path(32768, L'\0');
  bool named = ::SHGetPathFromIDListEx(chosen, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
  ::CoTaskMemFree(chosen);
  if (!named || path[0] == L'\0') return std::nullopt;
  return platform::Narrow(path.data());
}

}  // namespace

std::optional<std::string> FileChooser::Choose(const ChooserRequest& request) {
  if (request.folder) return ChooseFolder(ActiveOwner(owner_), request);
  // Room for any path the system takes, not the 128 characters of old.
  std::vector<wchar_t> name(32768, L'\0');
  std::wstring proposed = platform::Widen(request.proposedName);
  if (proposed.size() < name.size()) std::copy(proposed.begin(), proposed.end(), name.begin());
  std::wstring filter = DialogFilter(request.filterList);
  std::wstring title = platform::Widen(request.title);
  std::wstring suffix = platform::Widen(request.defaultSuffix);
  // A custom filter is a label (empty) and the pattern typed, each NUL-ended.
  std::wstring& custom = custom_[request.memory];
  custom.resize(256, L'\0');

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ActiveOwner(owner_);
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrCustomFilter = custom.data();
  dialog.nMaxCustFilter = static_cast<DWORD>(custom.size());
  dialog.nFilterIndex = static_cast<DWORD>(request.filterShownFirst > 0 ? request.filterShownFirst : 1);
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOVALIDATE | OFN_PATHMUSTEXIST;
  BOOL accepted;
  if (request.saving) {
    // Every caller creates its file new and refuses one that exists itself.
    accepted = ::GetSaveFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    accepted = ::GetOpenFileNameW(&dialog);
  }
  if (!accepted || name[0] == L'\0') return std::nullopt;
  return platform::Narrow(name.data());
}

}  // namespace shell::win32
