// The About dialog: the program's name and version, the system it runs on,
// and our contact lines.
#pragma once

#include <QDialog>

class QLabel;

namespace drumlin {

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  // The label that names the system ("Debian GNU/Linux 13 (trixie), Linux
  // 6.12.48-amd64"; "Windows Ver. <major>" on Windows).
  QLabel* versionLabel() const { return version_; }

  // Esc ends the dialog as OK does.
  void reject() override { accept(); }

 private:
  QLabel* version_;
};

// The system's name and its kernel as one line, from Qt's system
// information: "Debian GNU/Linux 13 (trixie), Linux 6.12.48-amd64".
QString SystemText(const QString& productName, const QString& kernelType, const QString& kernelVersion);

// The line for the system this program runs on.
QString RunningSystemText();

}  // namespace drumlin
