#include "ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage DrawProgramIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 256-unit grid whatever the size.
  painter.scale(size / 256.0, size / 256.0);

  QLinearGradient background(0, 0, 0, 256);
  background.setColorAt(0, QColor(0x2f, 0x7f, 0xc1));
  background.setColorAt(1, QColor(0x17, 0x3f, 0x73));
  painter.setPen(Qt::NoPen);
  painter.setBrush(background);
  painter.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

  // The invoice: a sheet with a folded corner and the lines of its items.
  QPainterPath sheet;
  sheet.moveTo(46, 38);
  sheet.lineTo(134, 38);
  sheet.lineTo(164, 68);
  sheet.lineTo(164, 206);
  sheet.lineTo(46, 206);
  sheet.closeSubpath();
  painter.setBrush(QColor(0xfb, 0xfb, 0xf7));
  painter.drawPath(sheet);
  QPainterPath corner;
  corner.moveTo(134, 38);
  corner.lineTo(134, 68);
  corner.lineTo(164, 68);
  corner.closeSubpath();
  painter.setBrush(QColor(0xc9, 0xd6, 0xe3));
  painter.drawPath(corner);
  painter.setBrush(QColor(0x9a, 0xa9, 0xb8));
  for (int line = 0; line < 4; ++line)
    painter.drawRoundedRect(QRectF(62, 86 + line * 22, line == 3 ? 52 : 84, 9), 4, 4);
  painter.setBrush(QColor(0x17, 0x3f, 0x73));
  painter.drawRoundedRect(QRectF(98, 176, 50, 14), 5, 5);

  // The transfer: an arrow from the sheet to the right edge.
  QPainterPath arrow;
  arrow.moveTo(120, 150);
  arrow.lineTo(178, 150);
  arrow.lineTo(178, 124);
  arrow.lineTo(228, 168);
  arrow.lineTo(178, 212);
  arrow.lineTo(178, 186);
  arrow.lineTo(120, 186);
  arrow.closeSubpath();
  painter.setBrush(QColor(0xf5, 0xa6, 0x23));
  painter.setPen(QPen(QColor(0xfb, 0xfb, 0xf7), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPath(arrow);
  return image;
}
