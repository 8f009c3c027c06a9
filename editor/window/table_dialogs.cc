#include "editor/window/table_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace editor::gui {
namespace {

// Tags and typed tags are bytes; Latin-1 carries each byte as one character.
QString FromBytes(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }

// Paths as the file system spells them.
std::string ToPath(const QString& text) { return text.toLocal8Bit().toStdString(); }
QString FromPath(const std::string& path) {
  return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(text), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

void Finish(QDialog& dialog, const shell::CommandOutcome& outcome) {
  if (outcome.dialog == shell::DialogStep::kClose) dialog.done(outcome.done() ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace

AddTableDialog::AddTableDialog(TableDialog& table, QWidget* parent) : QDialog(parent), table_(table) {
  setWindowTitle("Add Table");
  setModal(true);

  tag_ = new QLineEdit(this);
  tag_->setObjectName("tableName");
  tag_->setMaxLength(4);
  tag_->setFixedWidth(tag_->fontMetrics().horizontalAdvance(QLatin1String("MMMMMM")));
  tableFile_ = new QLineEdit(this);
  tableFile_->setObjectName("tableFilename");
  tableFile_->setMinimumWidth(tableFile_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
  auto* tagLabel = new QLabel("Table Name :", this);
  tagLabel->setBuddy(tag_);
  auto* fileLabel = new QLabel("Table Filename :", this);
  fileLabel->setBuddy(tableFile_);
  QPushButton* browse = Button("&Browse", "browse", this);
  QPushButton* ok = Button("OK", "ok", this);
  ok->setDefault(true);
  QPushButton* cancel = Button("Cancel", "cancel", this);

  // The tag with OK beside it, Cancel below OK, the file with Browse at the bottom.
  auto* grid = new QGridLayout(this);
  grid->addWidget(tagLabel, 0, 0);
  grid->addWidget(tag_, 0, 1, Qt::AlignLeft);
  grid->addWidget(ok, 0, 2);
  grid->addWidget(cancel, 1, 2);
  grid->addWidget(fileLabel, 2, 0, 1, 2);
  grid->addWidget(tableFile_, 3, 0, 1, 2);
  grid->addWidget(browse, 3, 2);
  grid->setColumnStretch(1, 1);

  connect(browse, &QPushButton::clicked, this, &AddTableDialog::Browse);
  connect(ok, &QPushButton::clicked, this, &AddTableDialog::Add);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AddTableDialog::Browse() {
  std::optional<std::string> picked = table_.BrowseTableFile();
  if (picked) tableFile_->setText(FromPath(*picked));
}

void AddTableDialog::Add() {
  Finish(*this, table_.Add(ToBytes(tag_->text()), ToPath(tableFile_->text())));
}

TableListDialog::TableListDialog(TableDialog& table, QWidget* parent) : QDialog(parent), table_(table) {
  bool deleting = table.command() == MenuCommand::kDeleteTable;
  setWindowTitle(deleting ? "Delete a table." : "Export a table.");
  setModal(true);

  auto* prompt = new QLabel(deleting ? "Choose a table to delete." : "Choose a table to export.", this);
  prompt->setObjectName("prompt");
  tables_ = new QListWidget(this);
  tables_->setObjectName("tables");
  tables_->setSelectionMode(QAbstractItemView::SingleSelection);
  tables_->setSortingEnabled(false);
  tables_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (const std::string& tag : table.tables()) tables_->addItem(FromBytes(tag));
  // The first row is selected, not only current, so that Return acts on it.
  if (tables_->count() > 0) tables_->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
  prompt->setBuddy(tables_);
  QPushButton* ok = Button("OK", "ok", this);
  ok->setDefault(true);
  QPushButton* cancel = Button("Cancel", "cancel", this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(prompt);
  column->addWidget(tables_, 1);
  column->addLayout(buttons);
  resize(sizeHint().width(), sizeHint().height() * 3 / 2);

  connect(ok, &QPushButton::clicked, this, &TableListDialog::Run);
  // A double-click on a row is the row and OK. (Return reaches OK as the
  // dialog's default button; the list's own activation is not used, so a
  // Return is never taken twice.)
  connect(tables_, &QListWidget::itemDoubleClicked, this, &TableListDialog::Run);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TableListDialog::Run() {
  std::optional<std::string> selected;
  QList<QListWidgetItem*> chosen = tables_->selectedItems();
  if (!chosen.isEmpty()) selected = ToBytes(chosen.first()->text());
  Finish(*this, table_.Pick(selected));
}

}  // namespace editor::gui
