#include "macconv/window/drumlin_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace drumlin {
namespace {

// Draws on a 64 x 64 grid, scaled to `size`.
QPixmap PaintIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 64.0, size / 64.0);

  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2f, 0x5d, 0x8a));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

  // The suitcase: handle, body and strap.
  const QColor amber(0xf2, 0xc1, 0x4e);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(amber, 3));
  p.drawRoundedRect(QRectF(13, 18, 10, 8), 2, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(amber);
  p.drawRoundedRect(QRectF(7, 24, 22, 24), 3, 3);
  p.setBrush(QColor(0xc9, 0x8f, 0x1f));
  p.drawRect(QRectF(7, 34, 22, 3));

  // The arrow.
  p.setPen(QPen(Qt::white, 3));
  p.drawLine(QPointF(31, 36), QPointF(38, 36));
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({QPointF(37, 31), QPointF(43, 36), QPointF(37, 41)}));

  // The page with its folded corner and lines of text.
  QPainterPath page;
  page.moveTo(44, 16);
  page.lineTo(53, 16);
  page.lineTo(59, 22);
  page.lineTo(59, 54);
  page.lineTo(44, 54);
  page.closeSubpath();
  p.drawPath(page);
  p.setBrush(QColor(0xc8, 0xd6, 0xe5));
  p.drawPolygon(QPolygonF({QPointF(53, 16), QPointF(53, 22), QPointF(59, 22)}));
  p.setPen(QPen(QColor(0x2f, 0x5d, 0x8a), 2));
  for (int y : {28, 33, 38, 43, 48}) p.drawLine(QPointF(47, y), QPointF(56, y));
  return pixmap;
}

}  // namespace

QIcon DrumlinIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(PaintIcon(size));
  return icon;
}

}  // namespace drumlin
