#include "macconv/window/progress_view.h"

#include <QPainter>

namespace drumlin {

ProgressView::ProgressView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(1, 1);
}

void ProgressView::SetText(const QString& text) {
  text_ = text;
  // The view grows, and the window with it, until the text fits whole; it
  // keeps that size for the texts that follow, so it does not flicker.
  const QSize needed = fontMetrics().size(0, text_) + QSize(2 * kMargin, 2 * kMargin);
  if (needed.width() > minimumWidth() || needed.height() > minimumHeight())
    setMinimumSize(minimumSize().expandedTo(needed));
  update();
}

void ProgressView::Clear() {
  text_.clear();
  update();
}

void ProgressView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (text_.isEmpty()) return;
  painter.setPen(Qt::black);
  painter.drawText(rect(), Qt::AlignCenter, text_);
}

}  // namespace drumlin
