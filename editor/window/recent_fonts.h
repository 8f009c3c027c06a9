// The File menu's recent fonts: the last fonts whose analysis reached
// "Ready", newest first, kept as full paths under
// QSettings("Marlowby", "quillet") as "recentFonts".
#pragma once

#include <QStringList>

namespace editor::gui {

inline constexpr int kMostRecentFonts = 8;

// `path` put in front of `list`, once, and the list cut to `most` names.
QStringList WithRecentFont(QStringList list, const QString& path, int most = kMostRecentFonts);

QStringList ReadRecentFonts();
void SaveRecentFonts(const QStringList& list);

}  // namespace editor::gui
