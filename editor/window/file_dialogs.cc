#include "editor/window/file_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>

#include "editor/session/choosers.h"

namespace editor::gui {
namespace {

std::string DialogFilter(const std::string& label, const std::string& pattern) {
  std::string name = label;
  size_t open = name.rfind(" (");
  if (open != std::string::npos && !name.empty() && name.back() == ')') name.erase(open);
  std::string patterns;
  size_t start = 0;
  while (start <= pattern.size()) {
    size_t semicolon = pattern.find(';', start);
    std::string one = pattern.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start);
    if (one == "*.*") one = "*";
    if (!one.empty()) patterns += (patterns.empty() ? "" : " ") + one;
    if (semicolon == std::string::npos) break;
    start = semicolon + 1;
  }
  return name + " (" + patterns + ")";
}

QString FromText(const std::string& text) { return QString::fromStdString(text); }

QStringList ToStringList(const std::vector<std::string>& items) {
  QStringList list;
  for (const std::string& item : items) list << FromText(item);
  return list;
}

bool IsPattern(const QString& text) {
  return !text.isEmpty() && (text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'))) &&
         !text.contains(QLatin1Char('/'));
}

// Watches the dialog's name field: Enter on a pattern makes it the custom
// filter instead of accepting it as a file name.
class CustomFilterWatch : public QObject {
 public:
  CustomFilterWatch(QFileDialog& dialog, const shell::ChooserRequest& request, std::string& custom)
      : dialog_(dialog), request_(request), custom_(custom) {
    field_ = dialog.findChild<QLineEdit*>("fileNameEdit");
    if (field_) field_->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != field_ || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    QString typed = field_->text().trimmed();
    if (!IsPattern(typed)) return false;
    custom_ = typed.toStdString();
    dialog_.setNameFilters(ToStringList(DialogNameFilters(request_.filterList, custom_)));
    dialog_.selectNameFilter(typed);
    field_->clear();
    return true;
  }

 private:
  QFileDialog& dialog_;
  const shell::ChooserRequest& request_;
  std::string& custom_;
  QLineEdit* field_ = nullptr;
};

}  // namespace

std::vector<std::string> DialogNameFilters(const std::string& filterList, const std::string& customFilter) {
  std::vector<std::string> filters;
  if (!customFilter.empty()) filters.push_back(customFilter);
  for (const auto& [label, pattern] : shell::FilterPairs(filterList)) filters.push_back(DialogFilter(label, pattern));
  return filters;
}

std::optional<std::string> QtFileChooser::Choose(const shell::ChooserRequest& request) {
  QWidget* parent = QApplication::activeModalWidget();
  if (!parent) parent = owner_;
  std::string& custom = custom_[request.memory];

  QFileDialog dialog(parent, FromText(request.title));
  // Qt's own dialog everywhere: the same behaviour on every desktop, and a
  // name field whose typed patterns can be kept.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  // Every caller creates its file new and refuses an existing one itself.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(request.saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  std::vector<std::string> filters = DialogNameFilters(request.filterList, custom);
  dialog.setNameFilters(ToStringList(filters));
  size_t first =
      static_cast<size_t>(request.filterShownFirst > 0 ? request.filterShownFirst - 1 : 0) + (custom.empty() ? 0 : 1);
  if (first < filters.size()) dialog.selectNameFilter(FromText(filters[first]));
  dialog.setDefaultSuffix(FromText(request.defaultSuffix));
  if (!request.proposedName.empty()) dialog.selectFile(QFile::decodeName(request.proposedName.c_str()));
  CustomFilterWatch watch(dialog, request, custom);

  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QStringList picked = dialog.selectedFiles();
  if (picked.isEmpty() || picked.first().isEmpty()) return std::nullopt;
  return QFile::encodeName(picked.first()).toStdString();
}

}  // namespace editor::gui
