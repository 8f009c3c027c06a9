#include "editor/window/recent_fonts.h"

#include <QSettings>

namespace editor::gui {
namespace {

constexpr const char* kKey = "recentFonts";

}  // namespace

QStringList WithRecentFont(QStringList list, const QString& path, int most) {
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > most) list.removeLast();
  return list;
}

QStringList ReadRecentFonts() {
  QStringList list = QSettings("Marlowby", "quillet").value(kKey).toStringList();
  list.removeAll(QString());
  while (list.size() > kMostRecentFonts) list.removeLast();
  return list;
}

void SaveRecentFonts(const QStringList& list) {
  QSettings settings("Marlowby", "quillet");
  if (list.isEmpty()) settings.remove(kKey);
  else settings.setValue(kKey, list);
}

}  // namespace editor::gui
