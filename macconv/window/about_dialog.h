// The About dialog: the program's name and version, the system's major
// version number, and our contact lines.
#pragma once

#include <QDialog>

class QLabel;

namespace drumlin {

class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent = nullptr);

  // The label that shows the system's version ("Windows Ver. <major>").
  QLabel* versionLabel() const { return version_; }

  // Esc ends the dialog as OK does.
  void reject() override { accept(); }

 private:
  QLabel* version_;
};

// The operating system's major version number: the system's own where Qt
// knows it, else the kernel's (6 for a 6.1 kernel); -1 when unknown.
long SystemMajorVersion();

// "Windows Ver. %ld" with that number.
QString SystemVersionText(long major);

}  // namespace drumlin
