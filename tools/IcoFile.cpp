#include "IcoFile.h"

#include <QBuffer>
#include <QDataStream>

QByteArray IcoFileBytes(const QList<QImage> &images) {
  QList<QByteArray> pngs;
  for (const QImage &image : images) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    pngs << png;
  }
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  // ICONDIR: reserved, type 1 (icon), number of images.
  out << quint16(0) << quint16(1) << quint16(images.size());
  quint32 offset = 6 + 16 * images.size();
  for (qsizetype i = 0; i < images.size(); ++i) {
    // ICONDIRENTRY: width and height (0 stands for 256), no palette, reserved, one plane,
    // 32 bits per pixel, the size of the data and where it starts.
    out << quint8(images[i].width() % 256) << quint8(images[i].height() % 256) << quint8(0) << quint8(0) << quint16(1)
        << quint16(32) << quint32(pngs[i].size()) << offset;
    offset += pngs[i].size();
  }
  for (const QByteArray &png : pngs)
    out.writeRawData(png.constData(), int(png.size()));
  return bytes;
}
