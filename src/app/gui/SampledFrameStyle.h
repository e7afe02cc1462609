#pragma once

#include <QProxyStyle>

// Paints `element` of the `base` style from a small sample of itself: the base style paints the
// frame a few dozen pixels in size, its middle row and column are copied out to the full size,
// and the result is drawn in bands of a few rows. Only for Fusion's tab-widget and group-box
// frames, whose middle is the same from edge to edge, and for a plain painter (whole pixels, full
// opacity, source-over); false when it does not apply, and then nothing is painted. Pixel for
// pixel the result is the base style's own.
bool PaintFromSample(const QStyle &base, QStyle::PrimitiveElement element, const QStyleOption &option,
                     QPainter &painter, const QWidget *widget);

// The window's style: the platform's own, with Fusion's tab-widget and group-box frames painted
// from a sample. Qt's raster engine hands every fill of 96 or more spans to its thread pool and
// waits for it; Fusion paints these frames with long translucent lines and a stretched pixmap,
// so that the window's first paint otherwise starts threads and waits for some hundred tiny
// tasks. The sample and the bands stay under that size.
class TSampledFrameStyle : public QProxyStyle {
public:
  // Over `base`, or over the platform's default style when none is given; takes ownership.
  explicit TSampledFrameStyle(QStyle *base = nullptr);

  void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
