// The desktop's own dialogs behind the window's interfaces: QFileDialog for
// the choosers, QMessageBox for messages, the default application for help
// files and the modal About dialog. All of them belong to the owner window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "macconv/window/desktop_services.h"

namespace drumlin {

class QtDesktop : public shell::FileChooser,
                  public shell::MessageSink,
                  public HelpOpener,
                  public AboutPresenter {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  WindowServices services() { return {this, this, this, this}; }

  // Neither file chooser checks whether the file exists; an existing file
  // chosen for saving is refused by the command itself. A folder chooser
  // offers existing folders only.
  std::optional<std::string> Choose(const shell::ChooserRequest& request) override;
  void Show(const shell::Message& message) override;
  bool Open(const std::string& path) override;
  void ShowAbout(QWidget* owner) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace drumlin
