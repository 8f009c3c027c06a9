#include "macconv/window/program_command_line.h"

#include <QFile>
#include <QSettings>

namespace drumlin {

std::string JoinArguments(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line.push_back(' ');
    bool quote = argument.empty() || argument.find(' ') != std::string::npos;
    if (quote) line.push_back('"');
    line += argument;
    if (quote) line.push_back('"');
  }
  return line;
}

void RecordMyself(const std::string& programPath) {
  QSettings settings("Marlowby", "tolva");
  settings.setValue("myself", QFile::decodeName(programPath.c_str()));
}

std::string ReadMyself() {
  QSettings settings("Marlowby", "tolva");
  return QFile::encodeName(settings.value("myself").toString()).toStdString();
}

}  // namespace drumlin
