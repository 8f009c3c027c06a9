#include "macconv/window/qt_desktop.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "macconv/window/about_dialog.h"

namespace drumlin {
namespace {

// The single filter "All Files"; on this system "*" also matches names
// without a dot.
const char kAllFiles[] = "All Files (*)";

QMessageBox::Icon IconFor(const std::string& caption) {
  return caption.rfind("ERROR", 0) == 0 ? QMessageBox::Critical : QMessageBox::Information;
}

}  // namespace

std::optional<std::string> QtDesktop::Choose(const shell::ChooserRequest& request) {
  const QString caption = QString::fromStdString(request.title);
  const QString start = QFile::decodeName(request.proposedName.c_str());
  QString chosen;
  if (request.folder) {
    chosen = QFileDialog::getExistingDirectory(owner_, caption, start);
  } else if (request.saving) {
    chosen = QFileDialog::getSaveFileName(owner_, caption, start, kAllFiles, nullptr, QFileDialog::DontConfirmOverwrite);
  } else {
    chosen = QFileDialog::getOpenFileName(owner_, caption, start, kAllFiles);
  }
  if (chosen.isEmpty()) return std::nullopt;
  return std::string(QFile::encodeName(chosen).constData());
}

void QtDesktop::Show(const shell::Message& message) {
  QMessageBox box(IconFor(message.caption), QString::fromStdString(message.caption),
                  QString::fromStdString(message.text), QMessageBox::Ok, owner_);
  box.setInformativeText(QString::fromStdString(message.detail));
  box.exec();
}

bool QtDesktop::Open(const std::string& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(path.c_str())));
}

void QtDesktop::ShowAbout(QWidget* owner) {
  AboutDialog dialog(owner);
  dialog.exec();
}

}  // namespace drumlin
