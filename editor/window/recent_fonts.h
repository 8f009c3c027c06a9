// The File menu's recent fonts as the desktop keeps them: full paths under
// QSettings("Marlowby", "quillet") as "recentFonts", newest first. Which
// fonts the list holds is the session's rule (editor/session/session.h).
#pragma once

#include <QStringList>
#include <string>
#include <vector>

#include "editor/session/session.h"

namespace editor::gui {

inline constexpr int kMostRecentFonts = editor::kMostRecentFonts;

// `path` put in front of `list`, once, and the list cut to `most` names.
QStringList WithRecentFont(QStringList list, const QString& path, int most = kMostRecentFonts);

QStringList ReadRecentFonts();
void SaveRecentFonts(const QStringList& list);

// The list in the settings, for the session.
class SettingsRecentFonts : public RecentFontList {
 public:
  std::vector<std::string> Read() override;
  void Save(const std::vector<std::string>& fonts) override;
};

}  // namespace editor::gui
