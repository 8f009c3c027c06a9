#include "shell/window/menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>

namespace shell {

void AddMenuItems(QMainWindow& window, std::span<const MenuItem> items, std::function<void(int)> run) {
  QMenu* popup = nullptr;
  for (const MenuItem& item : items) {
    QAction* action = nullptr;
    if (item.popup) {
      const QString title = QString::fromLatin1(item.popup);
      if (!popup || popup->title() != title) popup = window.menuBar()->addMenu(title);
      action = popup->addAction(QString::fromLatin1(item.text));
    } else {
      action = new QAction(QString::fromLatin1(item.text), &window);
      action->setShortcutContext(Qt::WindowShortcut);
      window.addAction(action);
    }
    if (item.shortcut) action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
    action->setData(item.command);
    const int command = item.command;
    QObject::connect(action, &QAction::triggered, &window, [run, command] { run(command); });
  }
}

}  // namespace shell
