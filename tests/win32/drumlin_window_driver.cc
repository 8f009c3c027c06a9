// Drives drumlin's native window under Wine as a user would: the window and
// its registry values, the menu, extraction and the cmap conversion through
// the choosers, a second start handing its file to the running copy, a /Q
// start with a window of its own, the remembered place and size, and the
// registration's end when the window closes.
//   drumlin_window_driver DRUMLIN.EXE
#include "tests/win32/driver_kit.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "macconv/session/window_commands.h"
#include "platform/registry.h"
#include "tests/macconv/mac_tables.h"
#include "tests/support/font_builder.h"

namespace {

namespace reg = platform::registry;
using driver::Checks;

// A path as the build gives it (a Linux path under Wine) in Windows form.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool WriteWholeFile(const std::string& path, const testsupport::Bytes& bytes) {
  HANDLE file = ::CreateFileW(platform::Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  return ::CloseHandle(file) && ok;
}

std::string AsText(const testsupport::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

uint32_t HandleNumber(HWND window) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)); }

std::string Number(std::optional<uint32_t> value) { return value ? std::to_string(*value) : "none"; }

// The top-level windows of this class that are open now.
std::vector<HWND> WindowsOfClass(const wchar_t* windowClass) {
  struct Search {
    const wchar_t* windowClass;
    std::vector<HWND> found;
  } search{windowClass, {}};
  ::EnumWindows(
      [](HWND window, LPARAM context) -> BOOL {
        auto* s = reinterpret_cast<Search*>(context);
        wchar_t name[64] = {};
        ::GetClassNameW(window, name, 64);
        if (_wcsicmp(name, s->windowClass) == 0) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The menu's popups and items as "Popup/Item=command" lines, and the keys
// as "Ctrl+Shift+N=command": from the program's resources and from the
// command table.
std::vector<std::string> ResourceMenuLines(const std::string& program) {
  std::vector<std::string> lines;
  HMODULE module = ::LoadLibraryExW(platform::Widen(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return lines;
  if (HMENU bar = ::LoadMenuW(module, L"MYIDR_TOLVA")) {
    for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
      wchar_t popupName[128] = {};
      ::GetMenuStringW(bar, static_cast<UINT>(i), popupName, 128, MF_BYPOSITION);
      HMENU popup = ::GetSubMenu(bar, i);
      for (int j = 0; j < ::GetMenuItemCount(popup); ++j) {
        wchar_t itemName[128] = {};
        ::GetMenuStringW(popup, static_cast<UINT>(j), itemName, 128, MF_BYPOSITION);
        lines.push_back(platform::Narrow(popupName) + "/" + platform::Narrow(itemName) + "=" +
                        std::to_string(::GetMenuItemID(popup, j)));
      }
    }
    ::DestroyMenu(bar);
  }
  if (HACCEL keys = ::LoadAcceleratorsW(module, L"DRUMLIN_KEYS")) {
    ACCEL table[16];
    int count = ::CopyAcceleratorTableW(keys, table, 16);
    for (int i = 0; i < count; ++i) {
      std::string name = (table[i].fVirt & FCONTROL ? "Ctrl+" : "");
      name += (table[i].fVirt & FSHIFT ? "Shift+" : "");
      name.push_back(static_cast<char>(table[i].key));
      lines.push_back(name + "=" + std::to_string(table[i].cmd));
    }
  }
  ::FreeLibrary(module);
  return lines;
}

std::vector<std::string> TableMenuLines() {
  std::vector<std::string> lines;
  for (const shell::MenuItem& item : drumlin::kMenu) {
    if (item.popup) lines.push_back(std::string(item.popup) + "/" + item.text + "=" + std::to_string(item.command));
  }
  for (const shell::MenuItem& item : drumlin::kMenu) {
    if (item.shortcut) lines.push_back(std::string(item.shortcut) + "=" + std::to_string(item.command));
  }
  return lines;
}

// Extraction through the choosers of the window of `process`: answers the
// save chooser with `output` and the final message; true when it came.
bool AnswerExtraction(DWORD process, const std::string& output) {
  bool found = false;
  if (!driver::AnswerChooser("Drumlin File Save", output, process)) return false;
  driver::AnswerMessageBox("Message", &found, process);
  return found;
}

// Removes the driver's folder and the files in it.
void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(platform::Widen(folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        ::DeleteFileW((platform::Widen(folder + "\\") + found.cFileName).c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  // The text editor may still stand in the folder for a moment.
  driver::WaitUntil([&] { return ::RemoveDirectoryW(platform::Widen(folder).c_str()) != 0; }, 5000);
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY")) {
    std::puts("skipped: no display (DISPLAY is not set)");
    return 77;
  }
  if (argc < 2) {
    std::fputs("usage: drumlin_window_driver DRUMLIN.EXE\n", stderr);
    return 2;
  }
  Checks checks;
  const std::string built = WindowsPath(argv[1]);
  const std::string builtFolder = built.substr(0, built.find_last_of('\\'));
  const std::string folder = driver::NewFolder("drumlin-driver");
  checks.Check(!folder.empty() && driver::CopyInto(built, folder) &&
                   driver::CopyInto(builtFolder + "\\Drumlin.txt", folder) &&
                   driver::CopyInto(builtFolder + "\\Drumlin.html", folder),
               "the program and its help files copied into a folder of their own", folder);
  const std::string exe = folder + "\\drumlin.exe";

  // Inputs: a font inside a Mac resource fork, and a cmap table file with a
  // Mac Japanese subtable and one that is copied.
  const testsupport::Bytes font = testsupport::SampleFont().Build();
  const std::string fork = folder + "\\Sample.rsrc";
  const std::string cmap = folder + "\\cmap.bin";
  checks.Check(WriteWholeFile(fork, mactest::MakeFork({{128, std::string("Sample"), font}}).bytes) &&
                   WriteWholeFile(cmap, mactest::MakeCmapTable({{0, 3, 1}, {1, 1, 0}},
                                                               {mactest::MakeFormat2(mactest::NumberedShiftJisGlyphs()),
                                                                mactest::MakeOpaqueSubtable(6, 20)})),
               "input files written");

  ::RegDeleteKeyW(HKEY_CURRENT_USER, platform::Widen(reg::kDrumlinKey).c_str());

  driver::Process first(driver::Quoted(exe));
  HWND window = driver::WaitForWindow(L"Drumlin", L"", first.id());
  if (!checks.Check(window != nullptr, "the window of class Drumlin opens")) return checks.Finish("drumlin_window_driver");
  checks.Check(driver::Text(window) == "Drumlin", "its title is Drumlin", driver::Text(window));
  checks.Check(reg::ReadNumber(reg::kDrumlinKey, "hWnd") == HandleNumber(window), "hWnd names the window",
               Number(reg::ReadNumber(reg::kDrumlinKey, "hWnd")));
  RECT frame{};
  ::GetWindowRect(window, &frame);
  checks.Check(frame.right - frame.left == 160 && frame.bottom - frame.top == 100,
               "without registry values the window is 160 x 100",
               std::to_string(frame.right - frame.left) + " x " + std::to_string(frame.bottom - frame.top));
  const std::vector<std::string> menu = ResourceMenuLines(exe);
  std::string menuText;
  for (const std::string& line : menu) menuText += line + "; ";
  checks.Check(menu == TableMenuLines(), "the menu and keys hold the items and commands of the command table", menuText);

  // Moving and resizing are kept (the progress text then has room).
  ::SetWindowPos(window, nullptr, 120, 90, 420, 260, SWP_NOZORDER | SWP_NOACTIVATE);
  auto place = [] {
    return std::vector<std::optional<uint32_t>>{
        reg::ReadNumber(reg::kDrumlinKey, "X"), reg::ReadNumber(reg::kDrumlinKey, "Y"),
        reg::ReadNumber(reg::kDrumlinKey, "nWidth"), reg::ReadNumber(reg::kDrumlinKey, "nHeight")};
  };
  const bool kept = driver::WaitUntil([&] {
    RECT now{};
    ::GetWindowRect(window, &now);
    return now.left != frame.left && now.right - now.left != 160 &&
           place() == std::vector<std::optional<uint32_t>>{
                          static_cast<uint32_t>(now.left), static_cast<uint32_t>(now.top),
                          static_cast<uint32_t>(now.right - now.left), static_cast<uint32_t>(now.bottom - now.top)};
  });
  checks.Check(kept, "moving and resizing write X, Y, nWidth and nHeight of the window rectangle",
               Number(place()[0]) + "," + Number(place()[1]) + " " + Number(place()[2]) + "x" + Number(place()[3]));

  // The About dialog names the system.
  driver::Command(window, drumlin::kAbout);
  HWND about = driver::WaitForDialog("Tolva", first.id());
  const std::string system = about ? driver::ControlText(about, 108) : "";
  checks.Check(system.rfind("Windows Ver. ", 0) == 0 && system.size() > 13, "About shows the system's version", system);
  if (about) driver::Press(about, IDOK);
  checks.Check(driver::WaitForDialogGone("Tolva"), "About closes with OK");

  // Open TTF and Extract, against the headless extraction.
  driver::Command(window, drumlin::kOpenAndExtract);
  checks.Check(driver::AnswerChooser("Drumlin File Open", fork, first.id()) &&
                   AnswerExtraction(first.id(), folder + "\\opened.ttf"),
               "Open TTF and Extract asks for the input and the output and reports");
  driver::Process headless(driver::Quoted(exe) + " --extract " + fork + " " + folder + "\\headless.ttf");
  checks.Check(headless.WaitForExit() == 0, "the headless extraction succeeds");
  const std::string opened = driver::ReadWholeFile(folder + "\\opened.ttf");
  checks.Check(!opened.empty() && opened == driver::ReadWholeFile(folder + "\\headless.ttf") && opened == AsText(font),
               "the extracted font is the font in the fork, as headless extraction writes it");

  // The cmap conversion on the worker, against the headless conversion.
  driver::Command(window, drumlin::kConvertCmap);
  const std::string converted = folder + "\\converted.bin";
  checks.Check(driver::AnswerChooser("Drumlin cmap file Open", cmap, first.id()) &&
                   driver::AnswerChooser("Drumlin cmap file Save", converted, first.id()),
               "the cmap conversion asks for its input and output");
  checks.Check(driver::WaitUntil([&] { return driver::Exists(converted); }), "the converted cmap table is written");
  driver::Process headlessCmap(driver::Quoted(exe) + " --cmap " + cmap + " " + folder + "\\headless.bin");
  checks.Check(headlessCmap.WaitForExit() == 0, "the headless cmap conversion succeeds");
  const std::string table = driver::ReadWholeFile(converted);
  checks.Check(table.size() > 12 && table == driver::ReadWholeFile(folder + "\\headless.bin"),
               "the window's conversion equals the headless one");

  // A second start hands its file over and opens no window.
  driver::Process second(driver::Quoted(exe) + " " + fork);
  checks.Check(second.WaitForExit() == 0, "a second start with a file ends with 0");
  checks.Check(WindowsOfClass(L"Drumlin").size() == 1, "the second start opens no window");
  checks.Check(AnswerExtraction(first.id(), folder + "\\handed.ttf") &&
                   driver::ReadWholeFile(folder + "\\handed.ttf") == AsText(font),
               "the running window extracts the handed file");

  // With /Q a start opens a window of its own and leaves hWnd alone.
  driver::Process quitting(driver::Quoted(exe) + " /Q " + fork);
  HWND own = driver::WaitForWindow(L"Drumlin", L"Drumlin", quitting.id());
  checks.Check(own != nullptr && own != window, "a /Q start opens a window of its own while one runs");
  checks.Check(AnswerExtraction(quitting.id(), folder + "\\quit.ttf") &&
                   driver::ReadWholeFile(folder + "\\quit.ttf") == AsText(font),
               "the /Q window extracts its file");
  checks.Check(reg::ReadNumber(reg::kDrumlinKey, "hWnd") == HandleNumber(window), "hWnd still names the first window");
  if (own) ::PostMessageW(own, WM_CLOSE, 0, 0);
  checks.Check(quitting.WaitForExit() == 0 && reg::ReadNumber(reg::kDrumlinKey, "hWnd") == HandleNumber(window),
               "closing the /Q window leaves hWnd alone");

  // Help Text opens in the text editor.
  driver::Command(window, drumlin::kHelpText);
  HWND notepad = nullptr;
  checks.Check(driver::WaitUntil([&] {
                 for (HWND editor : WindowsOfClass(L"Notepad")) {
                   if (driver::Text(editor).find("Drumlin.txt") != std::string::npos) notepad = editor;
                 }
                 return notepad != nullptr;
               }),
               "Help Text opens the help text in the text editor");
  if (notepad) ::PostMessageW(notepad, WM_CLOSE, 0, 0);

  ::PostMessageW(window, WM_CLOSE, 0, 0);
  checks.Check(first.WaitForExit() == 0, "the window closes and the program ends with 0");
  checks.Check(reg::ReadNumber(reg::kDrumlinKey, "hWnd") == 0u, "closing the registered window resets hWnd to 0");
  // A failed run leaves its files to be looked at.
  if (checks.failed() == 0) RemoveFolder(folder);
  return checks.Finish("drumlin_window_driver");
}
