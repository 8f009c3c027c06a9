#include "editor/window/message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace editor::gui {

void QtMessageBoxes::Show(const shell::Message& message) {
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = owner_;
  QString caption = QString::fromStdString(message.caption);
  // "Information" informs; every other caption of the editor reports a failure.
  QMessageBox::Icon icon = caption == QLatin1String("Information") ? QMessageBox::Information : QMessageBox::Warning;
  QMessageBox box(icon, caption, QString::fromLocal8Bit(message.text.c_str()), QMessageBox::Ok, parent);
  box.setInformativeText(QString::fromLocal8Bit(message.detail.c_str()));
  box.exec();
}

}  // namespace editor::gui
