// The editing dialogs: "Add Table" (a tag and a table file), and the list of
// the font's tags that serves both "Export a table." and "Delete a table.".
// Their OK buttons run the engine's commands; whether a dialog closes or
// stays open afterwards is the command's answer.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "editor/font_analysis.h"
#include "shell/chooser.h"
#include "shell/sinks.h"

class QLineEdit;
class QListWidget;
class QLabel;

namespace editor::gui {

// What the window hands every editing dialog.
struct DialogContext {
  const FontAnalysis& font;    // the open font as its analysis read it
  std::string settingsFolder;  // where Quillet.ini with the table list lies
  shell::FileChooser& chooser;
  shell::LogSink& log;
  shell::MessageSink& messages;
};

class AddTableDialog : public QDialog {
  Q_OBJECT

 public:
  AddTableDialog(const DialogContext& context, QWidget* parent = nullptr);

 private:
  void Browse();
  void Add();

  DialogContext context_;
  uint32_t tableCount_ = 0;  // the table list's count when the dialog opened
  QLineEdit* tag_ = nullptr;
  QLineEdit* tableFile_ = nullptr;
};

class TableListDialog : public QDialog {
  Q_OBJECT

 public:
  enum class Purpose { kExport, kDelete };
  TableListDialog(Purpose purpose, const DialogContext& context, QWidget* parent = nullptr);

 private:
  void Run();

  Purpose purpose_;
  DialogContext context_;
  uint32_t tableCount_ = 0;
  QListWidget* tables_ = nullptr;
};

}  // namespace editor::gui
