#include "editor/window/log_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>

namespace editor::gui {
namespace {

LogKey KeyOf(int key) {
  switch (key) {
    case Qt::Key_Home:
      return LogKey::kHome;
    case Qt::Key_PageUp:
      return LogKey::kPageUp;
    case Qt::Key_Up:
      return LogKey::kUp;
    case Qt::Key_PageDown:
      return LogKey::kPageDown;
    case Qt::Key_Down:
      return LogKey::kDown;
    default:
      return LogKey::kOther;
  }
}

}  // namespace

LogView::LogView(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("log");
  setReadOnly(true);
  // Read-only, yet the caret moves with the keys so the log can be paged and selected.
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setFrameShape(QFrame::StyledPanel);
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
  // The log takes the menus' colour; the window around it stays light grey.
  QPalette colours = palette();
  QColor menu = QApplication::palette("QMenu").color(QPalette::Window);
  colours.setColor(QPalette::Base, menu);
  colours.setColor(QPalette::Window, menu);
  setPalette(colours);
}

void LogView::ShowLog(const QString& text) {
  setPlainText(text);
  moveCursor(QTextCursor::End);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

bool LogView::CaretAtEnd() const { return textCursor().selectionStart() >= document()->characterCount() - 1; }

int LogView::VisibleLines() const {
  int lineHeight = fontMetrics().lineSpacing();
  return lineHeight > 0 ? viewport()->height() / lineHeight : 0;
}

void LogView::keyPressEvent(QKeyEvent* event) {
  LogKeyStep step = StepForKey(KeyOf(event->key()), CaretAtEnd(), lastKey_);
  lastKey_ = step.lastKey;
  if (step.sendHome) {
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QPlainTextEdit::keyPressEvent(&home);
  }
  if (step.postHome) QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier));
  if (step.scrollNearEnd) {
    // With the view not wrapping, the scroll bar counts lines.
    QScrollBar* bar = verticalScrollBar();
    int scroll = PageDownScroll(document()->blockCount(), bar->value(), VisibleLines());
    if (scroll > 0) bar->setValue(bar->value() + scroll);
  }
  if (step.consume) {
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

}  // namespace editor::gui
