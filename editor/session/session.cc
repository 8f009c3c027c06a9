#include "editor/session/session.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "editor/session/choosers.h"
#include "editor/session/commands.h"
#include "editor/model/table_list.h"
#include "platform/paths.h"

namespace editor {
namespace {

std::filesystem::path FileSystemPath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

std::string FromFileSystemPath(const std::filesystem::path& path) {
  std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

// The path from the root, without "." and ".." steps: how the list names a font.
std::string AbsoluteFontPath(const std::string& path) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(FileSystemPath(path), error);
  if (error) return path;
  return FromFileSystemPath(absolute.lexically_normal());
}

// A regular file, or a link to one.
bool IsFontFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(FileSystemPath(path), error);
}

}  // namespace

std::vector<std::string> WithRecentFont(std::vector<std::string> list, const std::string& path, int most) {
  std::erase(list, path);
  list.insert(list.begin(), path);
  if (list.size() > static_cast<size_t>(std::max(most, 0))) list.resize(static_cast<size_t>(std::max(most, 0)));
  return list;
}

std::string WindowTitle(const std::string& fontPath) {
  if (fontPath.empty()) return "Quillet";
  return platform::NameOf(fontPath) + " - Quillet";
}

TableDialog::TableDialog(MenuCommand command, std::shared_ptr<const FontAnalysis> analysis,
                         const std::string& settingsFolder, shell::FileChooser& chooser, shell::LogSink& log,
                         shell::MessageSink& messages)
    : command_(command),
      analysis_(std::move(analysis)),
      tableCount_(ReadTableCount(settingsFolder)),
      chooser_(chooser),
      log_(log),
      messages_(messages) {
  if (command_ != MenuCommand::kAddTable) tables_ = ReadTableListItems(settingsFolder);
}

const FontAnalysis& TableDialog::font() const { return analysis_ ? *analysis_ : noFont_; }

std::optional<std::string> TableDialog::BrowseTableFile() { return chooser_.Choose(TableFileChooserRequest()); }

shell::CommandOutcome TableDialog::Add(const std::string& typedTag, const std::string& tableFilePath) {
  if (command_ != MenuCommand::kAddTable) return {};
  return AddTableCommand(font(), AddTableRequest{typedTag, tableFilePath, tableCount_}, chooser_, log_, messages_);
}

shell::CommandOutcome TableDialog::Pick(const std::optional<std::string>& selectedTag) {
  switch (command_) {
    case MenuCommand::kExportTable:
      return ExportTableCommand(font(), selectedTag, chooser_, log_, messages_);
    case MenuCommand::kDeleteTable:
      return DeleteTableCommand(font(), tableCount_, selectedTag, chooser_, log_, messages_);
    default:
      return {};
  }
}

Session::Session(SessionSetup setup, SessionFrontEnd& frontEnd, shell::FileChooser& chooser,
                 shell::MessageSink& messages, RecentFontList* recentFonts)
    : owner_(std::this_thread::get_id()),
      settingsFolder_(std::move(setup.settingsFolder)),
      libraryName_(std::move(setup.libraryName)),
      frontEnd_(frontEnd),
      chooser_(chooser),
      messages_(messages),
      recentFonts_(recentFonts),
      buffer_(Banner()),
      log_(buffer_, [this] { LogChanged(); }),
      worker_([this] { frontEnd_.WakeForDelivery(); }),
      runMessages_(worker_, messages_) {}

Session::~Session() { Close(); }

void Session::Start() { ResetTableCount(settingsFolder_); }

void Session::Close() {
  worker_.Close();
  worker_.Join();
}

void Session::Deliver() { worker_.Deliver(); }

void Session::RunCommand(MenuCommand command) {
  switch (command) {
    case MenuCommand::kOpen:
      OpenCommand();
      return;
    case MenuCommand::kRecalc:
      // The recalculation works from the finished analysis, so it waits its turn.
      if (RefusedWhileRunning()) return;
      RecalcCommand(analysis_.get(), fontPath_, chooser_, log_);
      return;
    case MenuCommand::kAddTable:
    case MenuCommand::kExportTable:
    case MenuCommand::kDeleteTable:
      EditCommand(command);
      return;
    case MenuCommand::kSaveReport:
      SaveReport();
      return;
    case MenuCommand::kQuit:
      frontEnd_.CloseWindow();
      return;
    case MenuCommand::kCopy:
      frontEnd_.CopyLog();
      return;
    case MenuCommand::kSelectAll:
      frontEnd_.SelectAllLog();
      return;
    case MenuCommand::kAbout:
      // A run writes its report line by line: the banner waits for its end.
      if (worker_.busy()) ++bannersHeld_;
      else log_.Append(Banner());
      return;
  }
}

bool Session::RefusedWhileRunning() {
  if (!worker_.busy()) return false;
  log_.Append(BusyLine(fontPath_));
  return true;
}

void Session::OpenCommand() {
  if (RefusedWhileRunning()) return;
  // A cancelled chooser keeps the open font and its analysis as they are.
  std::optional<std::string> chosen = chooser_.Choose(FontChooserRequest());
  if (chosen) OpenFont(*chosen);
}

bool Session::OpenFont(const std::string& fontPath) {
  if (RefusedWhileRunning()) return false;
  // The previous analysis goes: the run is about to replace the table list.
  analysis_.reset();
  bool started = StartAnalysis(worker_, AnalysisRequest{fontPath, settingsFolder_, libraryName_}, log_, runMessages_,
                               [this](FinishedRun run) { RunEnded(std::move(run)); });
  fontPath_ = fontPath;
  frontEnd_.ShowTitle(WindowTitle(fontPath_));
  if (started) ++runsStarted_;
  return started;
}

void Session::RunEnded(FinishedRun run) {
  analysis_ = std::move(run.analysis);
  lastReport_ = std::move(run.report);
  ready_ = true;
  ++runsEnded_;
  if (run.reachedReady && recentFonts_)
    recentFonts_->Save(WithRecentFont(recentFonts_->Read(), AbsoluteFontPath(fontPath_)));
  for (; bannersHeld_ > 0; --bannersHeld_) log_.Append(Banner());
  RefreshLog();
  frontEnd_.RunEnded();
}

void Session::EditCommand(MenuCommand command) {
  if (!PassesGate(command, ready_, log_)) return;
  // A run under way is about to replace the table list the dialogs read.
  if (RefusedWhileRunning()) return;
  // The dialogs' commands check their choices against the finished analysis.
  TableDialog dialog(command, analysis_, settingsFolder_, chooser_, log_, messages_);
  frontEnd_.RunTableDialog(dialog);
}

void Session::SaveReport() {
  if (RefusedWhileRunning()) return;
  SaveReportCommand(frontEnd_.ReportAsShown(lastReport_), fontPath_, chooser_, log_, messages_);
}

void Session::OpenRecent(const std::string& fontPath) {
  if (RefusedWhileRunning()) return;
  // Gone since the menu was shown: it leaves the list, and the run says why.
  if (recentFonts_ && !IsFontFile(fontPath)) {
    std::vector<std::string> fonts = recentFonts_->Read();
    std::erase(fonts, fontPath);
    recentFonts_->Save(fonts);
  }
  OpenFont(fontPath);
}

std::vector<std::string> Session::RecentFonts() {
  if (!recentFonts_) return {};
  std::vector<std::string> fonts = recentFonts_->Read(), present;
  for (const std::string& font : fonts)
    if (IsFontFile(font)) present.push_back(font);
  if (present != fonts) recentFonts_->Save(present);
  return present;
}

void Session::ClearRecentFonts() {
  if (recentFonts_) recentFonts_->Save({});
}

void Session::LogChanged() {
  if (std::this_thread::get_id() == owner_) {
    RefreshLog();
    return;
  }
  // One refresh waits at a time: it shows whatever the buffer holds by then.
  if (!refreshQueued_.exchange(true)) frontEnd_.WakeForLog();
}

void Session::RefreshLog() {
  refreshQueued_.store(false);
  uint64_t version = buffer_.version();
  if (shownOnce_ && version == shownVersion_) return;
  if (!frontEnd_.ShowLog(buffer_.Text())) return;
  shownOnce_ = true;
  shownVersion_ = version;
}

}  // namespace editor
