// Drives a native window of the suite from another process, as a user
// would: starts the program, finds its window and its dialogs by class and
// title, types into their fields, presses their buttons, answers the common
// file dialogs and the message boxes, and reads texts back. Commands that may
// open a modal dialog are posted, never sent, so the driver never waits on
// the window it drives.
#pragma once

#if defined(_WIN32)
#include "platform/wide_text.h"  // windows.h

#include <string>
#include <vector>

namespace driver {

// Every wait gives up after this long.
inline constexpr DWORD kWaitMs = 20000;

// One checked step: prints "ok - what" or "FAIL - what (detail)".
class Checks {
 public:
  bool Check(bool passed, const std::string& what, const std::string& detail = {});
  int failed() const { return failed_; }
  int passed() const { return passed_; }
  // The program's exit status: 0 when every check passed.
  int Finish(const char* name);

 private:
  int failed_ = 0;
  int passed_ = 0;
};

class Process {
 public:
  // Starts `commandLine` (the program's path first, quoted as needed).
  explicit Process(const std::string& commandLine);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  // The exit status, or -1 when it has not ended within the wait.
  long WaitForExit(DWORD ms = kWaitMs);

 private:
  PROCESS_INFORMATION info_{};
};

// "path" quoted when it holds a space.
std::string Quoted(const std::string& path);

// A visible top-level window of the class (empty: any) whose title is
// `title` (empty: any), of process `process` (0: any); null after the wait.
HWND WaitForWindow(const std::wstring& windowClass, const std::wstring& title, DWORD process = 0,
                   DWORD ms = kWaitMs);
// A dialog (class "#32770") with this title.
HWND WaitForDialog(const std::string& title, DWORD process = 0, DWORD ms = kWaitMs);
// True once no dialog with this title is left.
bool WaitForDialogGone(const std::string& title, DWORD ms = kWaitMs);

// Waits until `condition` holds, polling.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD ms = kWaitMs) {
  DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(50);
  }
  return true;
}

std::string Text(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// Presses a dialog's button (posted: the press may open another dialog).
void Press(HWND dialog, int id);
// A menu or accelerator command to a window (posted).
void Command(HWND window, int command);
// The first child of this class (case-insensitive), or null.
HWND ChildOfClass(HWND parent, const std::wstring& windowClass);
// The texts of a list box's items.
std::vector<std::string> ListItems(HWND dialog, int id);
// Selects the list box item with this text; false when there is none.
bool SelectListItem(HWND dialog, int id, const std::string& text);

// Answers the common file dialog titled `title` with `path` and OK; an
// empty path cancels it. False when no such dialog came up.
bool AnswerChooser(const std::string& title, const std::string& path, DWORD process = 0);
// Reads the message box titled `caption`, presses OK, and returns its text
// (empty, and *found false, when none came up).
std::string AnswerMessageBox(const std::string& caption, bool* found = nullptr, DWORD process = 0);

// Files, for setting up and checking.
bool CopyInto(const std::string& file, const std::string& folder);
std::string ReadWholeFile(const std::string& path);
bool Exists(const std::string& path);
// A new empty folder under the system's temporary folder.
std::string NewFolder(const std::string& prefix);

}  // namespace driver
#endif
