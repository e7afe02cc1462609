#pragma once

#include <QByteArray>
#include <QList>
#include <QImage>

// The Windows icon format holding the images, each stored as PNG (which Windows reads from
// Vista on). An image is at most 256 pixels square.
QByteArray IcoFileBytes(const QList<QImage> &images);
