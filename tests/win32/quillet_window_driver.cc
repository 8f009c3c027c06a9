// quillet's native window driven as a user would drive it, through the road
// of a typical edit: open a font, export its OS/2 table, delete it, add it
// back, recalculate, and open the result, whose checksums are then right.
//   quillet_window_driver BIN_FOLDER SAMPLE_FONT
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "tests/win32/driver_kit.h"

namespace {

uint32_t Big(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width && at + i < bytes.size(); ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

struct Table {
  std::string tag;
  uint32_t offset, length;
};

std::vector<Table> Directory(const std::string& font) {
  std::vector<Table> tables;
  uint32_t count = Big(font, 4, 2);
  for (uint32_t i = 0; i < count && 12 + 16 * (i + 1) <= font.size(); ++i) {
    size_t entry = 12 + 16 * i;
    tables.push_back({font.substr(entry, 4), Big(font, entry + 8, 4), Big(font, entry + 12, 4)});
  }
  return tables;
}

bool Holds(const std::vector<Table>& tables, const std::string& tag) {
  for (const Table& table : tables)
    if (table.tag == tag) return true;
  return false;
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: quillet_window_driver BIN_FOLDER SAMPLE_FONT\n", stderr);
    return 2;
  }
  if (!::GetEnvironmentVariableW(L"DISPLAY", nullptr, 0)) {
    std::puts("skipped: no display (DISPLAY is not set)");
    return 77;
  }
  driver::Checks checks;
  const std::string bin = argv[1];
  const std::string box = driver::NewFolder("quillet-window-");
  for (const char* program : {"quillet.exe", "sumkit.dll"}) driver::CopyInto(bin + "\\" + program, box);
  driver::CopyInto(argv[2], box);
  const std::string font = box + "\\sample.ttf";
  const std::string original = driver::ReadWholeFile(font);

  driver::Process quillet(driver::Quoted(box + "\\quillet.exe"));
  HWND window = driver::WaitForWindow(L"Quillet", L"Quillet", quillet.id());
  if (!checks.Check(window != nullptr, "the window of class Quillet opens with the title \"Quillet\""))
    return checks.Finish("quillet window");
  HWND log = driver::ChildOfClass(window, L"RICHEDIT");
  checks.Check(log != nullptr && ::GetDlgCtrlID(log) == 1, "its client area is the RichEdit log, control 1");
  auto logText = [&] { return driver::Text(log); };
  auto waitForLog = [&](const std::string& what, size_t times) {
    return driver::WaitUntil([&] { return Count(logText(), what) >= times; });
  };
  checks.Check(logText().rfind("Quillet Version 1.1\r\n", 0) == 0 && waitForLog("--\r\n", 1), "the log starts with the banner");
  std::optional<std::string> myself =
      platform::registry::ReadText(platform::registry::kQuilletKey, "myself");
  checks.Check(myself && *myself == box + "\\quillet.exe", "\"myself\" holds the program's path", myself.value_or(""));

  driver::Command(window, 40009);
  checks.Check(waitForLog("Open a ttf first.\r\n--\r\n", 1), "Export before any analysis logs \"Open a ttf first.\"");

  // Open.
  driver::Command(window, 40003);
  checks.Check(driver::AnswerChooser("Quillet File Open", font), "Open asks \"Quillet File Open\"");
  checks.Check(waitForLog("Ready\r\n", 1), "the analysis runs to \"Ready\"");
  checks.Check(Count(logText(), "Check Sum is 0x0 (0 is correct.)") == 1, "the sample's checksums are right");
  checks.Check(driver::Text(window) == "sample.ttf - Quillet", "the title names the font", driver::Text(window));

  // Export the OS/2 table.
  driver::Command(window, 40009);
  HWND dialog = driver::WaitForDialog("Export a table.", quillet.id());
  checks.Check(dialog != nullptr, "Export opens \"Export a table.\" (dialog 107)");
  std::vector<std::string> listed = driver::ListItems(dialog, 1006);
  std::vector<std::string> tags;
  for (const Table& table : Directory(original)) tags.push_back(table.tag);
  checks.Check(listed == tags, "list 1006 holds the font's tags in directory order");
  checks.Check(driver::ControlText(dialog, 1010) == "Choose a table to export.", "its prompt asks for a table to export");
  checks.Check(driver::SelectListItem(dialog, 1006, "OS/2"), "OS/2 can be chosen");
  driver::Press(dialog, IDOK);
  HWND save = driver::WaitForDialog("Quillet File Save", quillet.id());
  std::string proposed = save ? driver::ControlText(save, 0x480) + driver::ControlText(save, 0x47c) : "";
  checks.Check(proposed.find("Newsample.ttf.OS_2") != std::string::npos,
               "the save chooser proposes New + the font's name + .OS_2", proposed);
  const std::string exported = box + "\\Newsample.ttf.OS_2";
  checks.Check(driver::AnswerChooser("Quillet File Save", exported), "the save chooser takes the name");
  checks.Check(waitForLog("Exported OS/2 table.\r\n--\r\n", 1), "the export is logged");
  std::string os2;
  for (const Table& table : Directory(original))
    if (table.tag == "OS/2") os2 = original.substr(table.offset, table.length);
  checks.Check(!os2.empty() && driver::ReadWholeFile(exported) == os2, "the table file holds the OS/2 table's bytes");

  // Delete it into a new font.
  driver::Command(window, 40010);
  dialog = driver::WaitForDialog("Delete a table.", quillet.id());
  checks.Check(dialog != nullptr && driver::ControlText(dialog, 1010) == "Choose a table to delete.",
               "Delete opens dialog 107 as \"Delete a table.\"");
  driver::SelectListItem(dialog, 1006, "OS/2");
  driver::Press(dialog, IDOK);
  const std::string without = box + "\\without-os2.ttf";
  checks.Check(driver::AnswerChooser("Quillet File Save", without), "the delete asks for the new font's name");
  checks.Check(waitForLog("Delete OS/2 table.\r\n--\r\n", 1), "the delete is logged");
  std::vector<Table> left = Directory(driver::ReadWholeFile(without));
  checks.Check(left.size() + 1 == tags.size() && !Holds(left, "OS/2"), "the new font has every table but OS/2");

  // Open it and add the table back.
  driver::Command(window, 40003);
  driver::AnswerChooser("Quillet File Open", without);
  checks.Check(waitForLog("Ready\r\n", 2), "the new font is analysed");
  driver::Command(window, 40012);
  dialog = driver::WaitForDialog("Add Table", quillet.id());
  checks.Check(dialog != nullptr, "Add opens \"Add Table\" (dialog 109)");
  driver::SetControlText(dialog, 1011, "head");
  driver::SetControlText(dialog, 1012, exported);
  driver::Press(dialog, IDOK);
  const std::string refused = box + "\\refused.ttf";
  HWND asked = driver::WaitForDialog("Quillet File Save", quillet.id(), 3000);
  if (asked) driver::AnswerChooser("Quillet File Save", refused);
  std::string same = driver::AnswerMessageBox("Error");
  checks.Check(same == "The font has the same table name.", "a tag the font holds is refused", same);
  checks.Check(driver::WaitForDialog("Add Table", quillet.id(), 2000) != nullptr, "and the dialog stays open");
  driver::SetControlText(dialog, 1011, "OS/2");
  driver::Press(dialog, IDOK);
  const std::string back = box + "\\back.ttf";
  checks.Check(driver::AnswerChooser("Quillet File Save", back), "the add asks for the new font's name");
  checks.Check(waitForLog("Add OS/2 table.\r\n--\r\n", 1), "the add is logged");
  std::vector<Table> rebuilt = Directory(driver::ReadWholeFile(back));
  checks.Check(rebuilt.size() == tags.size() && Holds(rebuilt, "OS/2"), "the table is back in the font");

  // Open it, recalculate, and open the result.
  driver::Command(window, 40003);
  driver::AnswerChooser("Quillet File Open", back);
  checks.Check(waitForLog("Ready\r\n", 3), "the rebuilt font is analysed");
  driver::Command(window, 40013);
  const std::string fixed = box + "\\fixed.ttf";
  checks.Check(driver::AnswerChooser("Quillet File Save", fixed), "Recalc asks for the output's name");
  checks.Check(waitForLog("Done\r\n--\r\n", 1), "the recalculation ends with \"Done\"");
  driver::Command(window, 40003);
  driver::AnswerChooser("Quillet File Open", fixed);
  checks.Check(waitForLog("Ready\r\n", 4), "the recalculated font is analysed");
  std::string text = logText();
  size_t lastRun = text.rfind("fixed.ttf is opened.");
  checks.Check(lastRun != std::string::npos &&
                   text.find("Check Sum is 0x0 (0 is correct.)", lastRun) != std::string::npos,
               "the recalculated font's report says \"Check Sum is 0x0\"");

  // Select All and Copy put the log on the clipboard.
  driver::Command(window, 40006);
  driver::Command(window, 40008);
  checks.Check(driver::WaitUntil([&] {
                 if (!::OpenClipboard(nullptr)) return false;
                 HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
                 bool has = false;
                 if (data) {
                   auto* chars = static_cast<const wchar_t*>(::GlobalLock(data));
                   has = chars && std::wstring(chars).find(L"Quillet Version 1.1") != std::wstring::npos;
                   ::GlobalUnlock(data);
                 }
                 ::CloseClipboard();
                 return has;
               }),
               "Select All and Copy put the log on the clipboard");

  driver::Command(window, 40002);
  checks.Check(quillet.WaitForExit() == 0, "Quit ends the program with status 0");
  return checks.Finish("quillet window");
}
