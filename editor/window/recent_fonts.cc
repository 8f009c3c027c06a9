#include "editor/window/recent_fonts.h"

#include <QFile>
#include <QSettings>

namespace editor::gui {
namespace {

constexpr const char* kKey = "recentFonts";

std::vector<std::string> ToPaths(const QStringList& list) {
  std::vector<std::string> paths;
  for (const QString& path : list) paths.push_back(QFile::encodeName(path).toStdString());
  return paths;
}

QStringList FromPaths(const std::vector<std::string>& paths) {
  QStringList list;
  for (const std::string& path : paths) list << QFile::decodeName(path.c_str());
  return list;
}

}  // namespace

QStringList WithRecentFont(QStringList list, const QString& path, int most) {
  return FromPaths(editor::WithRecentFont(ToPaths(list), QFile::encodeName(path).toStdString(), most));
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

std::vector<std::string> SettingsRecentFonts::Read() { return ToPaths(ReadRecentFonts()); }

void SettingsRecentFonts::Save(const std::vector<std::string>& fonts) { SaveRecentFonts(FromPaths(fonts)); }

}  // namespace editor::gui
