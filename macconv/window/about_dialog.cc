#include "macconv/window/about_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <QVBoxLayout>

#include "macconv/window/drumlin_icon.h"

namespace drumlin {
namespace {

QLabel* CentredLine(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

}  // namespace

long SystemMajorVersion() {
  const int own = QOperatingSystemVersion::current().majorVersion();
  if (own > 0) return own;
  // "6.1.0-18-amd64" and the like: the number before the first dot.
  const QString kernel = QSysInfo::kernelVersion();
  bool ok = false;
  const long major = kernel.section('.', 0, 0).toLong(&ok);
  return ok ? major : -1;
}

QString SystemVersionText(long major) { return QString::asprintf("Windows Ver. %ld", major); }

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle("Tolva");
  auto* layout = new QVBoxLayout(this);

  auto* icon = new QLabel(this);
  icon->setPixmap(DrumlinIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);
  layout->addWidget(CentredLine("Drumlin Ver.0.5", this));
  version_ = CentredLine("Windows Ver.", this);
  version_->setObjectName("systemVersion");
  version_->setText(SystemVersionText(SystemMajorVersion()));
  layout->addWidget(version_);
  layout->addSpacing(6);
  layout->addWidget(CentredLine("Marlowby font tools", this));
  layout->addWidget(CentredLine("Mac Japanese fonts for Windows and Unicode", this));
  layout->addWidget(CentredLine("Free to use and to pass on unchanged.", this));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  setMinimumSize(225, 208);
}

}  // namespace drumlin
