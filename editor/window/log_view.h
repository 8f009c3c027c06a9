// The log window: a read-only text view that always shows the whole log,
// with the log's own handling of Page Up, Up, Page Down and Down.
#pragma once

#include <QPlainTextEdit>

#include "editor/session/log_keys.h"

namespace editor::gui {

class LogView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit LogView(QWidget* parent = nullptr);

  // Replaces the whole text, puts the caret at the end and the last line at
  // the bottom of the view.
  void ShowLog(const QString& text);

  // The selection starts at or beyond the end of the text.
  bool CaretAtEnd() const;
  LogKey lastKey() const { return lastKey_; }
  // Whole lines that fit into the view.
  int VisibleLines() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  LogKey lastKey_ = LogKey::kNone;
};

}  // namespace editor::gui
