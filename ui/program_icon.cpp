#include "ui/program_icon.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

namespace {

QPixmap Sheets(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  // The frame's colour behind, a sheet, and its copy in front of it.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(187, 184, 205));
  p.drawRoundedRect(QRectF(0, 0, 32, 32), 5, 5);
  p.setPen(QPen(QColor(70, 62, 110), 1.5));
  p.setBrush(QColor(235, 233, 244));
  p.drawRect(QRectF(4, 4, 15, 19));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(13, 9, 15, 19));
  p.setPen(QPen(QColor(40, 110, 200), 1.5));
  for (int y = 14; y <= 23; y += 3) p.drawLine(QPointF(16, y), QPointF(25, y));
  return pixmap;
}

}  // namespace

namespace dpx::ui {

QIcon ProgramIcon() {
  QIcon icon;
  icon.addPixmap(Sheets(16));
  icon.addPixmap(Sheets(32));
  return icon;
}

}  // namespace dpx::ui
