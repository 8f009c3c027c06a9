#include "editor/window/log_text.h"

#include <QStringDecoder>

namespace editor::gui {
namespace {

QString DecodeLine(std::string_view line, QStringDecoder& utf8, QStringDecoder& japanese) {
  QByteArrayView bytes(line.data(), static_cast<qsizetype>(line.size()));
  utf8.resetState();
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  if (japanese.isValid()) {
    japanese.resetState();
    return japanese.decode(bytes);
  }
  return QString::fromLatin1(bytes);
}

}  // namespace

QString LogDisplayText(std::string_view log) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QStringDecoder japanese("windows-31j", QStringDecoder::Flag::Stateless);
  QString shown;
  shown.reserve(static_cast<qsizetype>(log.size()));
  size_t start = 0;
  while (start <= log.size()) {
    size_t feed = log.find('\n', start);
    size_t end = feed == std::string_view::npos ? log.size() : feed;
    size_t textEnd = end > start && log[end - 1] == '\r' ? end - 1 : end;
    shown += DecodeLine(log.substr(start, textEnd - start), utf8, japanese);
    if (feed == std::string_view::npos) break;
    shown += QLatin1Char('\n');
    start = feed + 1;
  }
  return shown;
}

}  // namespace editor::gui
