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

QString SystemText(const QString& productName, const QString& kernelType, const QString& kernelVersion) {
  QString kernel = (kernelType.isEmpty() ? QString() : kernelType.left(1).toUpper() + kernelType.mid(1)) +
                   (kernelVersion.isEmpty() ? QString() : " " + kernelVersion);
  kernel = kernel.trimmed();
  if (productName.isEmpty()) return kernel.isEmpty() ? QString("an unknown system") : kernel;
  return kernel.isEmpty() || productName.contains(kernelVersion) ? productName : productName + ", " + kernel;
}

QString RunningSystemText() {
#ifdef Q_OS_WIN
  return QString::asprintf("Windows Ver. %d", QOperatingSystemVersion::current().majorVersion());
#else
  return SystemText(QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion());
#endif
}

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
  version_->setText(RunningSystemText());
  version_->setWordWrap(true);
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
