#include "macconv/win32/drumlin_window_win32.h"

#include "platform/wide_text.h"  // windows.h

#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "macconv/engine/cmap_file_conversion.h"
#include "macconv/session/command_line.h"
#include "macconv/session/menu_commands.h"
#include "macconv/engine/message_text.h"
#include "macconv/win32/drumlin_resources.h"
#include "macconv/session/window_commands.h"
#include "macconv/session/window_place.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/program_folder.h"
#include "platform/registry.h"
#include "shell/win32/win32_kit.h"
#include "shell/worker.h"

namespace drumlin::win32 {
namespace {

static_assert(DRUMLIN_CMD_QUIT == kQuit && DRUMLIN_CMD_HELP == kHelp && DRUMLIN_CMD_ABOUT == kAbout &&
              DRUMLIN_CMD_HELP_TEXT == kHelpText && DRUMLIN_CMD_OPEN_AND_EXTRACT == kOpenAndExtract &&
              DRUMLIN_CMD_EXTRACT_ALL == kExtractAllFonts && DRUMLIN_CMD_HELP_DOCUMENT == kHelpDocument &&
              DRUMLIN_CMD_CONVERT_NAME == kConvertName && DRUMLIN_CMD_DUMP_CMAP == kDumpCmap &&
              DRUMLIN_CMD_CONVERT_CMAP == kConvertCmap);

namespace reg = platform::registry;

constexpr wchar_t kClassName[] = L"Drumlin";
constexpr UINT kDeliverMessage = WM_APP;          // the conversion handed something over
constexpr UINT kHandedFileMessage = WM_APP + 1;   // a second start handed a file over
constexpr UINT kRunWaitingMessage = WM_APP + 2;   // a command waits for the one before it
// The longest name a second start may hand over (the system's longest path).
constexpr DWORD kHandedNameLimit = 32767;
// How long a second start waits for the running copy to take its file.
constexpr UINT kHandOverTimeoutMs = 10000;

// "hWnd" keeps a window handle as a 32-bit number: handles are 32-bit values
// extended by sign on 64-bit Windows.
uint32_t HandleNumber(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }
HWND HandleOf(uint32_t number) { return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(number))); }

// The registered window, when it is still a live window of this class with a
// title; a value left by a crashed run names none.
HWND RunningCopy() {
  std::optional<uint32_t> number = reg::ReadNumber(reg::kDrumlinKey, "hWnd");
  if (!number || *number == 0) return nullptr;
  HWND window = HandleOf(*number);
  if (!::IsWindow(window)) return nullptr;
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  if (std::wcscmp(name, kClassName) != 0 || ::GetWindowTextLengthW(window) <= 0) return nullptr;
  return window;
}

std::optional<int> ReadPlaceValue(const char* name) {
  std::optional<uint32_t> value = reg::ReadNumber(reg::kDrumlinKey, name);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

// A path in full form: a second start hands its file over so, since the
// running copy may stand in another folder.
std::wstring FullPath(const std::string& fileName) {
  std::wstring wide = platform::Widen(fileName);
  DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  DWORD got = ::GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (got == 0 || got >= size) return wide;
  full.resize(got);
  return full;
}

// Brings the running copy to the front and hands it the file, if any. False
// when the copy did not take it in time.
bool HandOver(HWND running, const std::string& fileName) {
  if (::IsIconic(running)) ::ShowWindow(running, SW_RESTORE);
  ::SetForegroundWindow(running);
  if (fileName.empty()) return true;
  std::wstring name = FullPath(fileName);
  if (name.size() > kHandedNameLimit) return false;
  COPYDATASTRUCT data{};
  data.dwData = kHandedFileTag;
  data.cbData = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  data.lpData = name.data();
  DWORD_PTR taken = 0;
  return ::SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               kHandOverTimeoutMs, &taken) != 0 &&
         taken == TRUE;
}

int MajorSystemVersion() {
  using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  auto call = ntdll ? reinterpret_cast<RtlGetVersionCall>(
                          reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                    : nullptr;
  if (call && call(&info) == 0) return static_cast<int>(info.dwMajorVersion);
  return 0;
}

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      wchar_t text[64];
      std::swprintf(text, 64, L"Windows Ver. %ld", static_cast<long>(MajorSystemVersion()));
      ::SetDlgItemTextW(dialog, DRUMLIN_ABOUT_SYSTEM, text);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, 1);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

class MainWindow {
 public:
  explicit MainWindow(const macconv::CommandLine& line)
      : quit_(line.quit),
        currentFile_(line.fileName),
        conversion_([this] { ::PostMessageW(window_, kDeliverMessage, 0, 0); }) {}
  ~MainWindow() {
    conversion_.Close();
    conversion_.Join();
  }

  bool Create(HINSTANCE instance);
  int Run(HINSTANCE instance);
  HWND handle() const { return window_; }

 private:
  // What the conversion shows, handed from the worker to the window's thread.
  class HandedProgress : public macconv::ProgressSink {
   public:
    explicit HandedProgress(MainWindow& window) : window_(window) {}
    void ShowProgress(const std::string& text) override {
      window_.conversion_.Hand([w = &window_, text] { w->SetProgress(text); });
    }
    void ClearProgress() override { ShowProgress({}); }
    void HoldProgress(int milliseconds) override { window_.conversion_.Pause(milliseconds); }
    // One more line under the text shown.
    void AddLine(const std::string& line) {
      window_.conversion_.Hand([w = &window_, line] { w->SetProgress(w->progress_ + macconv::ProgressLine(line)); });
    }

   private:
    MainWindow& window_;
  };

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  bool busy() const { return commandRunning_ || conversionRunning_; }
  void RunCommand(int command, const std::string& name = {});
  void EndCommand();
  // Asks for the cmap conversion's files and starts it on the worker; false
  // when the command ended with the questions.
  bool StartCmapConversion();
  void SetCommandsEnabled(bool enabled);
  void OpenHelp(std::string_view helpFileName, bool textEditor);
  void HandleDrop(HDROP drop);
  void SavePlace();
  void SetProgress(const std::string& text);
  void Paint();

  HWND window_ = nullptr;
  bool quit_;
  std::string currentFile_;
  std::string progress_;
  shell::win32::MessageBoxes messages_;
  shell::win32::FileChooser chooser_;
  bool commandRunning_ = false;
  bool conversionRunning_ = false;
  std::deque<std::pair<int, std::string>> waiting_;
  std::deque<std::string> handedFiles_;
  shell::Worker conversion_;
};

bool MainWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconW(instance, L"TOLVA_ICON");
  windowClass.hIconSm = static_cast<HICON>(::LoadImageW(instance, L"TOLVA_ICON", IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  windowClass.lpszMenuName = L"MYIDR_TOLVA";
  windowClass.lpszClassName = kClassName;
  if (!::RegisterClassExW(&windowClass)) return false;

  const WindowPlace place = PlaceFromValues(ReadPlaceValue("X"), ReadPlaceValue("Y"), ReadPlaceValue("nWidth"),
                                            ReadPlaceValue("nHeight"));
  window_ = ::CreateWindowExW(0, kClassName, L"Drumlin", WS_OVERLAPPEDWINDOW, place.x, place.y, place.width,
                              place.height, nullptr, nullptr, instance, this);
  return window_ != nullptr;
}

int MainWindow::Run(HINSTANCE instance) {
  ::DragAcceptFiles(window_, TRUE);
  messages_.set_owner(window_);
  chooser_.set_owner(window_);
  // The file named on the command line is extracted once the window is up.
  if (!currentFile_.empty()) ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kExtractNamedFile, 0), 0);
  ::ShowWindow(window_, SW_SHOWDEFAULT);
  ::UpdateWindow(window_);

  HACCEL keys = ::LoadAcceleratorsW(instance, L"DRUMLIN_KEYS");
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (keys && ::TranslateAcceleratorW(window_, keys, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOVE:
      // A maximized or minimized window keeps the place it is restored to.
      if (!::IsZoomed(window_) && !::IsIconic(window_)) SavePlace();
      return 0;
    case WM_SIZE:
      // A minimized window's rectangle lies off the screen: it is not kept.
      if (wParam != SIZE_MINIMIZED) SavePlace();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_COMMAND:
      RunCommand(LOWORD(wParam));
      return 0;
    case WM_DROPFILES:
      HandleDrop(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA: {
      // Taken here, run once the second start has its answer.
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!data || data->dwData != kHandedFileTag || data->cbData % sizeof(wchar_t) != 0 ||
          data->cbData > kHandedNameLimit * sizeof(wchar_t))
        return FALSE;
      std::wstring name;
      if (data->cbData > 0) name.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
      handedFiles_.push_back(platform::Narrow(name));
      ::PostMessageW(window_, kHandedFileMessage, 0, 0);
      return TRUE;
    }
    case kHandedFileMessage:
      if (!handedFiles_.empty()) {
        std::string name = std::move(handedFiles_.front());
        handedFiles_.pop_front();
        RunCommand(kExtractNamedFile, name);
      }
      return 0;
    case kDeliverMessage:
      conversion_.Deliver();
      return 0;
    case kRunWaitingMessage:
      if (!busy() && !waiting_.empty()) {
        auto [command, name] = std::move(waiting_.front());
        waiting_.pop_front();
        RunCommand(command, name);
      }
      return 0;
    case WM_CLOSE:
      // A conversion under way finishes its output; only its pauses are cut.
      conversion_.Close();
      conversion_.Join();
      ::DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      conversion_.Close();
      conversion_.Join();
      if (!quit_ && RunningCopy() == window_) reg::WriteNumber(reg::kDrumlinKey, "hWnd", 0);
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(window_, message, wParam, lParam);
  }
}

void MainWindow::RunCommand(int command, const std::string& name) {
  if (busy()) {
    // A command that arrives while another one runs (from a dialog's own
    // message loop, or during a conversion) waits for it.
    waiting_.emplace_back(command, name);
    return;
  }
  commandRunning_ = true;
  bool ended = true;
  if (!macconv::RunFileCommand(command, currentFile_, name, chooser_, messages_)) {
    switch (command) {
      case kQuit:
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
      case kHelp: {
        HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        ::SetCursor(previous);
        break;
      }
      case kAbout:
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), L"ABOUT", window_, AboutProcedure, 0);
        break;
      case kHelpText:
        OpenHelp(macconv::kHelpTextName, true);
        break;
      case kHelpDocument:
        OpenHelp(macconv::kHelpDocumentName, false);
        break;
      case kConvertCmap:
        ended = !StartCmapConversion();  // else it ends when the worker has ended
        break;
      default:
        break;
    }
  }
  commandRunning_ = false;
  if (ended) EndCommand();
}

void MainWindow::EndCommand() {
  if (!waiting_.empty()) ::PostMessageW(window_, kRunWaitingMessage, 0, 0);
}

bool MainWindow::StartCmapConversion() {
  const macconv::CmapCommandNames names = macconv::ChooseCmapNames(currentFile_, chooser_, messages_);
  if (names.ended != shell::Outcome::kDone) return false;
  SetProgress({});
  conversionRunning_ = true;
  SetCommandsEnabled(false);
  conversion_.Start(
      [this, input = names.input, output = names.output] {
        HandedProgress progress(*this);
        shell::HandedMessages messages(conversion_, messages_);
        // The last counts stay, with the name of the file written under them.
        if (macconv::ConvertCmapFile(input, output, messages, &progress) == shell::Outcome::kDone)
          progress.AddLine(macconv::WrittenDetail(output));
      },
      [this] {
        conversionRunning_ = false;
        SetCommandsEnabled(true);
        EndCommand();
      });
  return true;
}

// While a conversion runs, the menus are greyed and drops refused.
void MainWindow::SetCommandsEnabled(bool enabled) {
  HMENU menu = ::GetMenu(window_);
  for (int i = 0, count = ::GetMenuItemCount(menu); i < count; ++i)
    ::EnableMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
  ::DrawMenuBar(window_);
  ::DragAcceptFiles(window_, enabled);
}

// The help files lie beside the program recorded as "myself", or in an
// installed tree's share/drumlin. The text opens in the system's text editor,
// the document with the program the system opens it with.
void MainWindow::OpenHelp(std::string_view helpFileName, bool textEditor) {
  HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
  std::string myself = reg::ReadText(reg::kTolvaKey, "myself").value_or(std::string());
  if (myself.empty()) myself = platform::ExecutablePath();
  const std::string found = platform::Narrow(FullPath(macconv::FindHelpFile(
      myself, helpFileName, platform::kBackslashIsSeparator,
      [](const std::string& path) { return platform::files::IsPlainFile(path); })));
  std::optional<std::string> failure;
  if (!platform::files::IsPlainFile(found)) {
    failure = "Can not open " + found;
  } else if (textEditor) {
    std::wstring line = L"notepad.exe \"" + platform::Widen(found) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
      ::CloseHandle(started.hThread);
      ::CloseHandle(started.hProcess);
    } else {
      failure = "Can not run notepad.exe";
    }
  } else {
    auto result = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(window_, L"open", platform::Widen(found).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) failure = "Can not open " + found;
  }
  ::SetCursor(previous);
  if (failure) messages_.Show({"Ouch!!", *failure});
}

void MainWindow::HandleDrop(HDROP drop) {
  std::vector<std::wstring> files;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count && i < 2; ++i) {
    UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
    std::wstring name(static_cast<size_t>(length) + 1, L'\0');
    name.resize(::DragQueryFileW(drop, i, name.data(), length + 1));
    files.push_back(std::move(name));
  }
  ::DragFinish(drop);

  currentFile_.clear();
  if (count == 1) {
    if (!files[0].empty()) RunCommand(kExtractNamedFile, platform::Narrow(files[0]));
  } else if (count > 1) {
    messages_.Show({"Ouch!!", "Only one file is acceptable..."});
  }
  // Started with the quit option, the program closes after one drop.
  if (quit_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

void MainWindow::SavePlace() {
  RECT frame{};
  if (!::GetWindowRect(window_, &frame)) return;
  reg::WriteNumber(reg::kDrumlinKey, "X", static_cast<uint32_t>(frame.left));
  reg::WriteNumber(reg::kDrumlinKey, "Y", static_cast<uint32_t>(frame.top));
  reg::WriteNumber(reg::kDrumlinKey, "nWidth", static_cast<uint32_t>(frame.right - frame.left));
  reg::WriteNumber(reg::kDrumlinKey, "nHeight", static_cast<uint32_t>(frame.bottom - frame.top));
}

void MainWindow::SetProgress(const std::string& text) {
  progress_ = text;
  ::InvalidateRect(window_, nullptr, TRUE);
}

// The progress text, centred in the client area.
void MainWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window_, &paint);
  if (!progress_.empty()) {
    std::wstring text = shell::win32::ShownText(progress_);
    HGDIOBJ font = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    RECT client{};
    ::GetClientRect(window_, &client);
    RECT measured = client;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CENTER | DT_CALCRECT | DT_NOPREFIX);
    const LONG height = measured.bottom - measured.top;
    RECT shown = client;
    if (height < client.bottom - client.top) shown.top = client.top + (client.bottom - client.top - height) / 2;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shown, DT_CENTER | DT_NOPREFIX);
    ::SelectObject(dc, font);
  }
  ::EndPaint(window_, &paint);
}

}  // namespace

int RunDrumlinWindow() {
  const macconv::CommandLine line = macconv::ParseCommandLine(platform::Narrow(::GetCommandLineW()));
  HINSTANCE instance = ::GetModuleHandleW(nullptr);

  // Looking for a running copy and becoming it happen under one lock, so
  // that two copies started at once do not both take files.
  HANDLE startLock = nullptr;
  if (!line.quit) {
    startLock = ::CreateMutexW(nullptr, FALSE, L"Local\\Marlowby.Drumlin.Start");
    if (startLock) ::WaitForSingleObject(startLock, kHandOverTimeoutMs);
    if (HWND running = RunningCopy()) {
      bool handed = HandOver(running, line.fileName);
      if (startLock) {
        ::ReleaseMutex(startLock);
        ::CloseHandle(startLock);
      }
      if (handed) return 0;
      std::fputs("drumlin: the running copy does not take the file\n", stderr);
      return 1;
    }
  }

  MainWindow window(line);
  const bool created = window.Create(instance);
  if (created && !line.quit) reg::WriteNumber(reg::kDrumlinKey, "hWnd", HandleNumber(window.handle()));
  if (startLock) {
    ::ReleaseMutex(startLock);
    ::CloseHandle(startLock);
  }
  if (!created) {
    std::fprintf(stderr, "drumlin: the window cannot be opened (error %lu)\n", ::GetLastError());
    return 1;
  }
  shell::win32::LeaveOwnConsole();
  return window.Run(instance);
}

}  // namespace drumlin::win32
