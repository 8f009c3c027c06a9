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

std::optional<std::string> QtDesktop::ChooseFile(const std::string& title, const std::string& proposed) {
  const QString caption = QString::fromStdString(title);
  const QString start = QFile::decodeName(proposed.c_str());
  const bool saving = title.size() >= 4 && title.compare(title.size() - 4, 4, "Save") == 0;
  QString chosen = saving ? QFileDialog::getSaveFileName(owner_, caption, start, kAllFiles, nullptr,
                                                         QFileDialog::DontConfirmOverwrite)
                          : QFileDialog::getOpenFileName(owner_, caption, start, kAllFiles);
  if (chosen.isEmpty()) return std::nullopt;
  return std::string(QFile::encodeName(chosen).constData());
}

void QtDesktop::Show(const std::string& caption, const std::string& text) {
  QMessageBox box(IconFor(caption), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok,
                  owner_);
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
