#include "tests/win32/driver_kit.h"

#include <algorithm>
#include <cstdio>

namespace driver {
namespace {

struct Search {
  const std::wstring* windowClass;
  const std::wstring* title;
  DWORD process;
  HWND found;
};

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  ::GetClassNameW(window, name, 256);
  return name;
}

// Asked of the window itself: a control of another process keeps its own
// text (a RichEdit does), which only WM_GETTEXT reads.
std::wstring WideText(HWND window) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  DWORD_PTR got = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &got))
    return {};
  text.resize(std::min<size_t>(got, length));
  return text;
}

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  if (!::IsWindowVisible(window)) return TRUE;
  if (search->process) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search->process) return TRUE;
  }
  if (!search->windowClass->empty() && _wcsicmp(ClassOf(window).c_str(), search->windowClass->c_str()) != 0)
    return TRUE;
  if (!search->title->empty() && WideText(window) != *search->title) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindNow(const std::wstring& windowClass, const std::wstring& title, DWORD process) {
  Search search{&windowClass, &title, process, nullptr};
  ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool Checks::Check(bool passed, const std::string& what, const std::string& detail) {
  if (passed) {
    ++passed_;
    std::printf("ok - %s\n", what.c_str());
  } else {
    ++failed_;
    std::printf("FAIL - %s%s%s%s\n", what.c_str(), detail.empty() ? "" : " (", detail.c_str(),
                detail.empty() ? "" : ")");
  }
  std::fflush(stdout);
  return passed;
}

int Checks::Finish(const char* name) {
  std::printf("%s: %d checks passed, %d failed\n", name, passed_, failed_);
  return failed_ == 0 && passed_ > 0 ? 0 : 1;
}

Process::Process(const std::string& commandLine) {
  std::wstring line = platform::Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
    info_ = {};
  if (info_.hThread) ::CloseHandle(info_.hThread);
  info_.hThread = nullptr;
}

Process::~Process() {
  if (!info_.hProcess) return;
  if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(info_.hProcess, 99);
  ::CloseHandle(info_.hProcess);
}

long Process::WaitForExit(DWORD ms) {
  if (!info_.hProcess || ::WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return -1;
  DWORD status = 0;
  ::GetExitCodeProcess(info_.hProcess, &status);
  return static_cast<long>(status);
}

std::string Quoted(const std::string& path) {
  return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

HWND WaitForWindow(const std::wstring& windowClass, const std::wstring& title, DWORD process, DWORD ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindNow(windowClass, title, process)) != nullptr; }, ms);
  return found;
}

HWND WaitForDialog(const std::string& title, DWORD process, DWORD ms) {
  return WaitForWindow(L"#32770", platform::Widen(title), process, ms);
}

bool WaitForDialogGone(const std::string& title, DWORD ms) {
  std::wstring wide = platform::Widen(title);
  return WaitUntil([&] { return FindNow(L"#32770", wide, 0) == nullptr; }, ms);
}

std::string Text(HWND window) { return platform::Narrow(WideText(window)); }

std::string ControlText(HWND dialog, int id) { return Text(::GetDlgItem(dialog, id)); }

void SetControlText(HWND dialog, int id, const std::string& text) {
  std::wstring wide = platform::Widen(text);
  ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Press(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void Command(HWND window, int command) { ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

HWND ChildOfClass(HWND parent, const std::wstring& windowClass) {
  struct Find {
    const std::wstring* name;
    HWND found;
  } find{&windowClass, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND child, LPARAM context) -> BOOL {
        auto* f = reinterpret_cast<Find*>(context);
        if (_wcsicmp(ClassOf(child).c_str(), f->name->c_str()) != 0) return TRUE;
        f->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.found;
}

std::vector<std::string> ListItems(HWND dialog, int id) {
  HWND list = ::GetDlgItem(dialog, id);
  std::vector<std::string> items;
  LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count && i < 4096; ++i) {
    LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) break;
    std::wstring item(static_cast<size_t>(length) + 1, L'\0');
    ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<size_t>(length));
    items.push_back(platform::Narrow(item));
  }
  return items;
}

bool SelectListItem(HWND dialog, int id, const std::string& text) {
  std::vector<std::string> items = ListItems(dialog, id);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] != text) continue;
    ::SendMessageW(::GetDlgItem(dialog, id), LB_SETCURSEL, i, 0);
    return true;
  }
  return false;
}

bool AnswerChooser(const std::string& title, const std::string& path, DWORD process) {
  HWND dialog = WaitForDialog(title, process);
  if (!dialog) return false;
  if (path.empty()) {
    Press(dialog, IDCANCEL);
    return WaitForDialogGone(title);
  }
  // The name field: edt1 in the classic dialog, the combo box cmb13 in the
  // Explorer one.
  std::wstring wide = platform::Widen(path);
  bool typed = false;
  for (int id : {0x480, 0x47c}) {
    HWND field = ::GetDlgItem(dialog, id);
    if (!field) continue;
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    typed = true;
  }
  if (!typed) return false;
  Press(dialog, IDOK);
  return WaitForDialogGone(title);
}

std::string AnswerMessageBox(const std::string& caption, bool* found, DWORD process) {
  HWND box = WaitForDialog(caption, process);
  if (found) *found = box != nullptr;
  if (!box) return {};
  std::string text = ControlText(box, 0xFFFF);
  Press(box, IDOK);
  WaitUntil([&] { return !::IsWindow(box); });
  return text;
}

bool CopyInto(const std::string& file, const std::string& folder) {
  size_t cut = file.find_last_of("\\/");
  std::string name = cut == std::string::npos ? file : file.substr(cut + 1);
  return ::CopyFileW(platform::Widen(file).c_str(), platform::Widen(folder + "\\" + name).c_str(), FALSE) != 0;
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = ::CreateFileW(platform::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char block[65536];
  DWORD got = 0;
  while (::ReadFile(file, block, sizeof(block), &got, nullptr) && got > 0) data.append(block, got);
  ::CloseHandle(file);
  return data;
}

bool Exists(const std::string& path) {
  return ::GetFileAttributesW(platform::Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string NewFolder(const std::string& prefix) {
  wchar_t temp[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring base = temp;
  for (unsigned n = ::GetTickCount() & 0xFFFF;; ++n) {
    std::wstring folder = base + platform::Widen(prefix) + std::to_wstring(n);
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return platform::Narrow(folder);
    if (::GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
}

}  // namespace driver
