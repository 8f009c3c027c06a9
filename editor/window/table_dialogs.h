// The editing dialogs: "Add Table" (a tag and a table file), and the list of
// the font's tags that serves both "Export a table." and "Delete a table.".
// They show what the session's TableDialog holds, and their buttons run its
// commands; whether a dialog closes or stays open afterwards is the
// command's answer.
#pragma once

#include <QDialog>

#include "editor/session/session.h"

class QLineEdit;
class QListWidget;
class QLabel;

namespace editor::gui {

class AddTableDialog : public QDialog {
  Q_OBJECT

 public:
  AddTableDialog(TableDialog& table, QWidget* parent = nullptr);

 private:
  void Browse();
  void Add();

  TableDialog& table_;
  QLineEdit* tag_ = nullptr;
  QLineEdit* tableFile_ = nullptr;
};

class TableListDialog : public QDialog {
  Q_OBJECT

 public:
  // Export or Delete, as the table dialog's command says.
  TableListDialog(TableDialog& table, QWidget* parent = nullptr);

 private:
  void Run();

  TableDialog& table_;
  QListWidget* tables_ = nullptr;
};

}  // namespace editor::gui
