#include "editor/win32/quillet_window.h"

#include "shell/win32/win32_kit.h"  // windows.h first

#include <commctrl.h>
#include <richedit.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "editor/session/log_buffer.h"
#include "editor/session/log_keys.h"
#include "editor/session/menu.h"
#include "editor/session/session.h"
#include "editor/win32/resource.h"

namespace editor::win32 {
namespace {

static_assert(QUILLET_CMD_QUIT == CommandNumber(MenuCommand::kQuit) &&
              QUILLET_CMD_OPEN == CommandNumber(MenuCommand::kOpen) &&
              QUILLET_CMD_ABOUT == CommandNumber(MenuCommand::kAbout) &&
              QUILLET_CMD_SELECT_ALL == CommandNumber(MenuCommand::kSelectAll) &&
              QUILLET_CMD_COPY == CommandNumber(MenuCommand::kCopy) &&
              QUILLET_CMD_EXPORT_TABLE == CommandNumber(MenuCommand::kExportTable) &&
              QUILLET_CMD_DELETE_TABLE == CommandNumber(MenuCommand::kDeleteTable) &&
              QUILLET_CMD_ADD_TABLE == CommandNumber(MenuCommand::kAddTable) &&
              QUILLET_CMD_RECALC == CommandNumber(MenuCommand::kRecalc) &&
              QUILLET_CMD_SAVE_REPORT == CommandNumber(MenuCommand::kSaveReport));

// Every item of the menu table has its number in the resource script.
constexpr bool HasResourceNumber(int command) {
  for (int number : {QUILLET_CMD_QUIT, QUILLET_CMD_OPEN, QUILLET_CMD_ABOUT, QUILLET_CMD_SELECT_ALL, QUILLET_CMD_COPY,
                     QUILLET_CMD_EXPORT_TABLE, QUILLET_CMD_DELETE_TABLE, QUILLET_CMD_ADD_TABLE, QUILLET_CMD_RECALC,
                     QUILLET_CMD_SAVE_REPORT})
    if (number == command) return true;
  return false;
}
constexpr bool EveryItemHasResourceNumber() {
  for (const shell::MenuItem& item : kMenu)
    if (!HasResourceNumber(item.command)) return false;
  return true;
}
static_assert(EveryItemHasResourceNumber());

constexpr wchar_t kClassName[] = L"Quillet";
// Posted to the window: the worker has handed something over, or the log
// has changed on the analysis thread.
constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr UINT kRefreshMessage = WM_APP + 2;

bool HaveFont(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  HDC screen = ::GetDC(nullptr);
  bool found = false;
  ::EnumFontFamiliesExW(
      screen, &wanted, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

// The log's font: fixed pitch, with the Japanese characters of the fonts'
// names where the system has such a font.
HFONT LogFont() {
  const wchar_t* face = L"Courier New";
  for (const wchar_t* japanese : {L"MS Gothic", L"IPAGothic", L"VL Gothic", L"Noto Sans Mono CJK JP"}) {
    if (!HaveFont(japanese)) continue;
    face = japanese;
    break;
  }
  return ::CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, face);
}

class QuilletWindow : private SessionFrontEnd {
 public:
  explicit QuilletWindow(std::string settingsFolder)
      : session_(SessionSetup{std::move(settingsFolder)}, *this, chooser_, messages_) {}

  bool Create(HINSTANCE instance, int show);
  Session& session() { return session_; }
  HWND window() const { return window_; }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LogKeys(HWND log, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnCreate();
  void OnDestroy();
  int VisibleLines() const;
  LRESULT OnLogKey(WPARAM key, LPARAM lParam);

  // What the session asks of the window.
  void WakeForDelivery() override { ::PostMessageW(window_, kDeliverMessage, 0, 0); }
  void WakeForLog() override { ::PostMessageW(window_, kRefreshMessage, 0, 0); }
  bool ShowLog(const std::string& text) override;
  void ShowTitle(const std::string& title) override { shell::win32::SetWindowText(window_, title); }
  void RunTableDialog(TableDialog& dialog) override;
  std::string ReportAsShown(const std::string& report) override;
  void CloseWindow() override { ::SendMessageW(window_, WM_CLOSE, 0, 0); }
  void CopyLog() override;
  void SelectAllLog() override;

  HWND window_ = nullptr;
  HWND log_ = nullptr;
  HMODULE richEdit_ = nullptr;
  HFONT font_ = nullptr;
  WNDPROC logProcedure_ = nullptr;
  LogKey lastKey_ = LogKey::kNone;
  shell::win32::FileChooser chooser_;
  shell::win32::MessageBoxes messages_;
  Session session_;
};

void Finish(HWND dialog, const shell::CommandOutcome& outcome) {
  if (outcome.dialog == shell::DialogStep::kClose) ::EndDialog(dialog, outcome.done() ? IDOK : IDCANCEL);
}

// Tags are bytes; the dialogs show each byte as one character.
std::string TagBytes(HWND field) {
  wchar_t typed[16] = {};
  ::GetWindowTextW(field, typed, 16);
  std::string tag;
  for (const wchar_t* c = typed; *c; ++c) tag.push_back(static_cast<char>(*c <= 0xFF ? *c : '?'));
  return tag;
}

INT_PTR CALLBACK AddTableProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* table = reinterpret_cast<TableDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    ::SendDlgItemMessageW(dialog, IDC_TABLE_NAME, EM_LIMITTEXT, 4, 0);
    return TRUE;
  }
  if (message != WM_COMMAND || !table) return FALSE;
  switch (LOWORD(wParam)) {
    case IDC_BROWSE: {
      std::optional<std::string> picked = table->BrowseTableFile();
      if (picked) shell::win32::SetWindowText(::GetDlgItem(dialog, IDC_TABLE_FILE), *picked);
      return TRUE;
    }
    case IDOK:
      Finish(dialog, table->Add(TagBytes(::GetDlgItem(dialog, IDC_TABLE_NAME)),
                                shell::win32::WindowText(::GetDlgItem(dialog, IDC_TABLE_FILE))));
      return TRUE;
    case IDCANCEL:
      ::EndDialog(dialog, IDCANCEL);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK TableListProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* table = reinterpret_cast<TableDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    table = reinterpret_cast<TableDialog*>(lParam);
    if (table->command() == MenuCommand::kDeleteTable) {
      ::SetDlgItemTextW(dialog, IDC_TABLE_PROMPT, L"Choose a table to delete.");
      ::SetWindowTextW(dialog, L"Delete a table.");
    }
    HWND list = ::GetDlgItem(dialog, IDC_TABLE_LIST);
    for (const std::string& tag : table->tables()) {
      std::wstring item;
      for (char c : tag) item.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    // The first row is selected, so that Return acts on it.
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    return TRUE;
  }
  if (message != WM_COMMAND || !table) return FALSE;
  const bool doubleClick = LOWORD(wParam) == IDC_TABLE_LIST && HIWORD(wParam) == LBN_DBLCLK;
  if (LOWORD(wParam) == IDOK || doubleClick) {
    std::optional<std::string> selected;
    HWND list = ::GetDlgItem(dialog, IDC_TABLE_LIST);
    LRESULT row = ::SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (row != LB_ERR) {
      wchar_t item[64] = {};
      if (::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0) < 64) {
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(item));
        std::string tag;
        for (const wchar_t* c = item; *c; ++c) tag.push_back(static_cast<char>(*c));
        selected = tag;
      }
    }
    Finish(dialog, table->Pick(selected));
    return TRUE;
  }
  if (LOWORD(wParam) == IDCANCEL) {
    ::EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

bool QuilletWindow::Create(HINSTANCE instance, int show) {
  WNDCLASSEXW type{};
  type.cbSize = sizeof(type);
  type.style = CS_HREDRAW | CS_VREDRAW;
  type.lpfnWndProc = Procedure;
  type.hInstance = instance;
  type.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLET));
  type.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  type.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
  type.lpszMenuName = MAKEINTRESOURCEW(IDR_QUILLET_MENU);
  type.lpszClassName = kClassName;
  if (!::RegisterClassExW(&type)) return false;
  window_ = ::CreateWindowExW(0, kClassName, L"Quillet", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
  if (!window_) return false;
  ::ShowWindow(window_, show);
  ::UpdateWindow(window_);
  return true;
}

LRESULT CALLBACK QuilletWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<QuilletWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<QuilletWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT QuilletWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_SIZE:
      if (log_)
        ::SetWindowPos(log_, nullptr, 10, 10, LOWORD(lParam) - 20, HIWORD(lParam) - 20,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) {
        session_.RunCommand(static_cast<MenuCommand>(LOWORD(wParam)));
        return 0;
      }
      break;
    case WM_DROPFILES: {
      auto drop = reinterpret_cast<HDROP>(wParam);
      std::optional<std::string> font;
      if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
        std::wstring name(length + 1, L'\0');
        ::DragQueryFileW(drop, 0, name.data(), length + 1);
        name.resize(length);
        DWORD attributes = ::GetFileAttributesW(name.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
          font = platform::Narrow(name);
      }
      ::DragFinish(drop);
      if (font) session_.OpenFont(*font);
      return 0;
    }
    case kDeliverMessage:
      session_.Deliver();
      return 0;
    case kRefreshMessage:
      session_.RefreshLog();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

bool QuilletWindow::OnCreate() {
  // Number_Of_Tables = "0": no dialog lists a table before a run.
  session_.Start();
  richEdit_ = ::LoadLibraryW(L"RICHED32.DLL");
  if (!richEdit_) {
    ::MessageBoxW(window_, L"Can't load rished32.dll", L"ERROR!!", MB_OK | MB_ICONWARNING);
    ::PostMessageW(window_, WM_CLOSE, 0, 0);
    return false;
  }
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  RECT client{};
  ::GetClientRect(window_, &client);
  log_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"RICHEDIT", L"",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOHSCROLL | ES_READONLY,
                           10, 10, client.right - 20, client.bottom - 20, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_LOG)),
                           reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
  if (!log_) return false;
  // No limit but the log buffer's own.
  ::SendMessageW(log_, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(kLogBufferSize * 2));
  ::SetWindowLongPtrW(log_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  logProcedure_ = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(log_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QuilletWindow::LogKeys)));
  ::SendMessageW(log_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(::GetSysColor(COLOR_MENU)));
  font_ = LogFont();
  ::SendMessageW(log_, WM_SETFONT,
                 reinterpret_cast<WPARAM>(font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(ANSI_FIXED_FONT)), TRUE);
  chooser_.set_owner(window_);
  messages_.set_owner(window_);
  ::DragAcceptFiles(window_, TRUE);
  session_.RefreshLog();
  return true;
}

void QuilletWindow::OnDestroy() {
  // A run that waits for a message box goes on without it.
  session_.Close();
  if (log_) ::DestroyWindow(log_);
  log_ = nullptr;
  if (richEdit_) ::FreeLibrary(richEdit_);
  richEdit_ = nullptr;
  if (font_) ::DeleteObject(font_);
  font_ = nullptr;
  ::PostQuitMessage(0);
}

void QuilletWindow::RunTableDialog(TableDialog& table) {
  auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  if (table.command() == MenuCommand::kAddTable)
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ADD_TABLE), window_, AddTableProcedure,
                      reinterpret_cast<LPARAM>(&table));
  else
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_TABLE_LIST), window_, TableListProcedure,
                      reinterpret_cast<LPARAM>(&table));
}

std::string QuilletWindow::ReportAsShown(const std::string& report) {
  // Saved as the log shows it, in UTF-8 with the system's line ends.
  return platform::Narrow(shell::win32::ShownText(report));
}

void QuilletWindow::CopyLog() {
  ::SetFocus(log_);
  ::SendMessageW(log_, WM_COPY, 0, 0);
}

void QuilletWindow::SelectAllLog() {
  ::SetFocus(log_);
  ::SendMessageW(log_, EM_SETSEL, 0, -1);
}

int QuilletWindow::VisibleLines() const {
  RECT area{};
  ::GetClientRect(log_, &area);
  // The height of a line as the log lays it out: from the first line's top
  // to the second's, or the font's own height while there is one line.
  int height = 0;
  LRESULT second = ::SendMessageW(log_, EM_LINEINDEX, 1, 0);
  if (second > 0) {
    POINTL top{}, next{};
    ::SendMessageW(log_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), 0);
    ::SendMessageW(log_, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&next), second);
    height = static_cast<int>(next.y - top.y);
  }
  if (height <= 0) {
    HDC context = ::GetDC(log_);
    HGDIOBJ old = ::SelectObject(context, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(context, &metrics);
    ::SelectObject(context, old);
    ::ReleaseDC(log_, context);
    height = metrics.tmHeight;
  }
  return height > 0 ? (area.bottom - area.top) / height : 0;
}

bool QuilletWindow::ShowLog(const std::string& text) {
  if (!log_) return false;
  ::SendMessageW(log_, EM_SETOPTIONS, ECOOP_AND, static_cast<LPARAM>(~ECO_AUTOVSCROLL));
  // Set as UTF-16, so that Japanese names show whatever the system's code page.
  std::wstring shown = shell::win32::ShownText(text);
  SETTEXTEX whole{ST_DEFAULT, 1200};
  if (!::SendMessageW(log_, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&whole), reinterpret_cast<LPARAM>(shown.c_str())))
    ::SetWindowTextW(log_, shown.c_str());
  // The last line at the bottom of the log, and the caret at the end.
  int lines = static_cast<int>(::SendMessageW(log_, EM_GETLINECOUNT, 0, 0));
  int first = static_cast<int>(::SendMessageW(log_, EM_GETFIRSTVISIBLELINE, 0, 0));
  int visible = VisibleLines();
  if (visible > 0 && lines >= visible) ::SendMessageW(log_, EM_LINESCROLL, 0, lines - first - visible);
  int end = ::GetWindowTextLengthW(log_);
  ::SendMessageW(log_, EM_SETSEL, end, end);
  ::SetFocus(log_);
  return true;
}

LRESULT CALLBACK QuilletWindow::LogKeys(HWND log, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<QuilletWindow*>(::GetWindowLongPtrW(log, GWLP_USERDATA));
  if (message == WM_KEYDOWN) return self->OnLogKey(wParam, lParam);
  return ::CallWindowProcW(self->logProcedure_, log, message, wParam, lParam);
}

LRESULT QuilletWindow::OnLogKey(WPARAM key, LPARAM lParam) {
  LogKey which = key == VK_PRIOR ? LogKey::kPageUp
                 : key == VK_UP  ? LogKey::kUp
                 : key == VK_NEXT ? LogKey::kPageDown
                 : key == VK_DOWN ? LogKey::kDown
                 : key == VK_HOME ? LogKey::kHome
                                  : LogKey::kOther;
  DWORD start = 0;
  ::SendMessageW(log_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  bool atEnd = static_cast<int>(start) >= ::GetWindowTextLengthW(log_);
  LogKeyStep step = StepForKey(which, atEnd, lastKey_);
  lastKey_ = step.lastKey;
  if (which == LogKey::kPageUp || which == LogKey::kUp)
    ::SendMessageW(log_, EM_SETOPTIONS, ECOOP_OR, ECO_AUTOVSCROLL);
  if (step.sendHome) ::CallWindowProcW(logProcedure_, log_, WM_KEYDOWN, VK_HOME, 0);
  if (step.postHome) ::PostMessageW(log_, WM_KEYDOWN, VK_HOME, 0);
  if (step.scrollNearEnd) {
    int lines = static_cast<int>(::SendMessageW(log_, EM_GETLINECOUNT, 0, 0));
    int first = static_cast<int>(::SendMessageW(log_, EM_GETFIRSTVISIBLELINE, 0, 0));
    int scroll = PageDownScroll(lines, first, VisibleLines());
    if (scroll > 0) ::SendMessageW(log_, EM_LINESCROLL, 0, scroll);
  }
  if (step.consume) return 0;
  return ::CallWindowProcW(logProcedure_, log_, WM_KEYDOWN, key, lParam);
}

}  // namespace

int RunQuilletWindow(const std::string& settingsFolder, const std::string& fontPath) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  QuilletWindow window(settingsFolder);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ::GetStartupInfoW(&startup);
  int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  if (!window.Create(instance, show)) return -1;
  shell::win32::LeaveOwnConsole();
  if (!fontPath.empty()) window.session().OpenFont(fontPath);
  HACCEL keys = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_QUILLET_MENU));
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (keys && ::TranslateAcceleratorW(window.window(), keys, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace editor::win32
