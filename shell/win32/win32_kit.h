// What both native Windows front ends are made of: message boxes and file
// choosers for the engines' sinks, window texts as UTF-8, and the log's text
// as a wide string for a window to show.
#pragma once

#if defined(_WIN32)
#include "platform/wide_text.h"  // windows.h

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "shell/chooser.h"
#include "shell/sinks.h"

namespace shell::win32 {

// The text of a window or control, and setting it, in UTF-8.
std::string WindowText(HWND window);
void SetWindowText(HWND window, std::string_view text);

// Text from the engines as a window shows it: line by line UTF-8, or, for a
// line that is not, the Japanese code page (the names of Mac and Japanese
// fonts), else Latin-1.
std::wstring ShownText(std::string_view text);

// The box's icon: "Information", "Message" and "Ouch!!" inform; every other
// caption reports a failure.
UINT MessageIcon(const std::string& caption);

// Modal message boxes over the window that is active in the owner's thread
// (a dialog, when one is open), the detail under the text.
class MessageBoxes : public MessageSink {
 public:
  explicit MessageBoxes(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }
  void Show(const Message& message) override;

 private:
  HWND owner_;
};

// The common file dialogs. Opening asks for a file that exists; saving takes
// a new name (the callers refuse to replace); a request for a folder shows
// the folder chooser. A custom filter the user types is kept per chooser
// memory, from one call to the next.
class FileChooser : public shell::FileChooser {
 public:
  explicit FileChooser(HWND owner = nullptr) : owner_(owner) {}
  void set_owner(HWND owner) { owner_ = owner; }
  std::optional<std::string> Choose(const ChooserRequest& request) override;

 private:
  HWND owner_;
  std::map<int, std::wstring> custom_;
};

// The "a|b|c|d|" filter list in the dialogs' form: each label and pattern
// ended by a NUL, and the list by an empty string.
std::wstring DialogFilter(const std::string& filterList);

// A window started from the desktop has a console of its own, since the
// same program also runs headless from a shell: it lets that console go.
// A console shared with a shell stays.
void LeaveOwnConsole();

// The window that boxes and choosers asked on the owner's thread are to be
// owned by: its last active popup, when it has one.
HWND ActiveOwner(HWND owner);

}  // namespace shell::win32
#endif
