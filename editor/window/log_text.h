// The log's bytes as the log view shows them. Line ends "\r\n" become line
// feeds. Each line is read as UTF-8 when it is valid UTF-8 (file paths and
// the editor's own text) and otherwise as Windows Japanese Shift-JIS, the
// encoding in which the name dump writes its strings.
#pragma once

#include <QString>
#include <string_view>

namespace editor::gui {

QString LogDisplayText(std::string_view log);

}  // namespace editor::gui
