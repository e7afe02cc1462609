#include "app/gui/SampledFrameStyle.h"

#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

// Rows drawn in one call: far under the 96 spans at which the raster engine hands a fill to its
// thread pool, also when the clip cuts each row into a few pieces.
constexpr int BandRows = 16;

// How deep the sample reaches in from each edge before its middle row and column, a little
// deeper than the frame's own edges: the tab frame's are three pixels deep; the group box's frame
// starts below its title or check box, whichever is taller, and is six pixels deep. The sample
// stays small enough for its own lines to stay under the thread pool's limit.
struct TSampleEdges {
  int Left;
  int Top;
  int Right;
  int Bottom;
};

std::optional<TSampleEdges> SampleEdges(const QStyle &base, QStyle::PrimitiveElement element,
                                        const QStyleOption &option) {
  switch (element) {
  case QStyle::PE_FrameTabWidget: return TSampleEdges{6, 6, 6, 6};
  case QStyle::PE_FrameGroupBox: {
    const int heading = std::max(option.fontMetrics.height(), base.pixelMetric(QStyle::PM_ExclusiveIndicatorHeight));
    return TSampleEdges{8, heading + 12, 8, 8};
  }
  default: return std::nullopt;
  }
}

// Whatever the base style paints on `painter` also lands unchanged on the device: whole pixels,
// full opacity, source-over.
bool IsPlain(const QPainter &painter) {
  const QTransform transform = painter.deviceTransform();
  return transform.type() <= QTransform::TxTranslate && transform.dx() == std::trunc(transform.dx()) &&
         transform.dy() == std::trunc(transform.dy()) && painter.opacity() == 1.0 &&
         painter.compositionMode() == QPainter::CompositionMode_SourceOver && painter.device() &&
         painter.device()->devicePixelRatio() == 1.0;
}

// The base style's painting of the element on a transparent image of `size`, with the option
// moved there; nothing when the option is not of the element's type.
template <class TOption>
std::optional<QImage> PaintedSample(const QStyle &base, QStyle::PrimitiveElement element, const QStyleOption &option,
                                    const QPainter &painter, const QWidget *widget, QSize size) {
  const auto *typed = qstyleoption_cast<const TOption *>(&option);
  if (!typed)
    return std::nullopt;
  TOption moved(*typed);
  moved.rect = QRect(QPoint(0, 0), size);
  QImage sample(size, QImage::Format_ARGB32_Premultiplied);
  sample.fill(Qt::transparent);
  QPainter samplePainter(&sample);
  samplePainter.setRenderHints(painter.renderHints());
  base.drawPrimitive(element, &moved, &samplePainter, widget);
  return sample;
}

// The sample with its middle column repeated out to `width`.
QImage Widened(const QImage &sample, int left, int width) {
  const int right = sample.width() - left - 1;
  QImage wide(width, sample.height(), sample.format());
  for (int y = 0; y < sample.height(); ++y) {
    const auto *from = reinterpret_cast<const QRgb *>(sample.constScanLine(y));
    auto *to = reinterpret_cast<QRgb *>(wide.scanLine(y));
    std::copy_n(from, left, to);
    std::fill(to + left, to + width - right, from[left]);
    std::copy_n(from + left + 1, right, to + width - right);
  }
  return wide;
}

// `row` of `image`, BandRows times.
QImage Band(const QImage &image, int row) {
  QImage band(image.width(), BandRows, image.format());
  for (int y = 0; y < BandRows; ++y)
    std::memcpy(band.scanLine(y), image.constScanLine(row), image.width() * sizeof(QRgb));
  return band;
}

// Rows [first, first + count) of `image`, drawn from `at` down, a band at a time.
void DrawRows(QPainter &painter, QPoint at, const QImage &image, int first, int count) {
  for (int row = 0; row < count; row += BandRows)
    painter.drawImage(at + QPoint(0, row), image,
                      QRect(0, first + row, image.width(), std::min(BandRows, count - row)));
}

} // namespace

bool PaintFromSample(const QStyle &base, QStyle::PrimitiveElement element, const QStyleOption &option,
                     QPainter &painter, const QWidget *widget) {
  const std::optional<TSampleEdges> edges = SampleEdges(base, element, option);
  const QRect target = option.rect;
  if (!edges || base.name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0 || !IsPlain(painter))
    return false;
  const QSize sampleSize(edges->Left + 1 + edges->Right, edges->Top + 1 + edges->Bottom);
  if (target.width() <= sampleSize.width() || target.height() <= sampleSize.height())
    return false;
  const std::optional<QImage> sample =
      element == QStyle::PE_FrameTabWidget
          ? PaintedSample<QStyleOptionTabWidgetFrame>(base, element, option, painter, widget, sampleSize)
          : PaintedSample<QStyleOptionFrame>(base, element, option, painter, widget, sampleSize);
  if (!sample)
    return false;

  const QImage wide = Widened(*sample, edges->Left, target.width());
  const int middleRows = target.height() - edges->Top - edges->Bottom;
  DrawRows(painter, target.topLeft(), wide, 0, edges->Top);
  const QImage middle = Band(wide, edges->Top);
  for (int row = 0; row < middleRows; row += BandRows)
    DrawRows(painter, target.topLeft() + QPoint(0, edges->Top + row), middle, 0, std::min(BandRows, middleRows - row));
  DrawRows(painter, QPoint(target.left(), target.bottom() + 1 - edges->Bottom), wide, edges->Top + 1, edges->Bottom);
  return true;
}

TSampledFrameStyle::TSampledFrameStyle(QStyle *base) : QProxyStyle(base) {}

void TSampledFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                       const QWidget *widget) const {
  if (!option || !painter || !PaintFromSample(*baseStyle(), element, *option, *painter, widget))
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
