#include "app/gui/SampledFrameStyle.h"

#include "GuiTestSupport.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>
#include <memory>
#include <variant>

namespace {

std::unique_ptr<QStyle> Fusion() { return std::unique_ptr<QStyle>(QStyleFactory::create(QStringLiteral("Fusion"))); }

// A palette far from the default one, so that no colour is right by chance.
QPalette DarkPalette() {
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(45, 52, 64));
  palette.setColor(QPalette::Button, QColor(60, 70, 90));
  palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
  return palette;
}

// An image of `size` with a gradient under what `paint` paints, so that every translucent pixel
// of a frame blends with a colour of its own.
QImage PaintedOnGradient(QSize size, const std::function<void(QPainter &)> &paint) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, size.width(), size.height());
  gradient.setColorAt(0, QColor(250, 240, 200));
  gradient.setColorAt(1, QColor(20, 90, 160));
  painter.fillRect(image.rect(), gradient);
  paint(painter);
  return image;
}

// A tab frame's option or a group box's, kept whole: QStyleOption has no virtual destructor.
using TFrameOption = std::variant<QStyleOptionTabWidgetFrame, QStyleOptionFrame>;

const QStyleOption &Common(const TFrameOption &option) {
  return std::visit([](const auto &typed) -> const QStyleOption & { return typed; }, option);
}

struct TFrameCase {
  const char *Name;
  QStyle::PrimitiveElement Element;
  QSize Size;
  QTabBar::Shape Shape = QTabBar::RoundedNorth;
  QString Title = QString();
  bool Checkable = false;
  bool Dark = false;
  int FontPixels = 0;
};

class TSampledFrameStyleTest : public ::testing::Test {
protected:
  void SetUp() override { EnsureApplication(); }

  // The option Fusion gets for the case's frame, at (3, 5) of the image.
  TFrameOption OptionFor(const TFrameCase &frame, QWidget &widget) const {
    const auto placed = [&](auto option) {
      option.initFrom(&widget);
      option.rect = QRect(QPoint(3, 5), frame.Size);
      return TFrameOption(option);
    };
    if (frame.Element == QStyle::PE_FrameTabWidget) {
      QStyleOptionTabWidgetFrame tabFrame;
      tabFrame.shape = frame.Shape;
      return placed(tabFrame);
    }
    return placed(QStyleOptionFrame());
  }
  // The group box Fusion asks whether it has a title or a check box.
  std::unique_ptr<QGroupBox> GroupBoxFor(const TFrameCase &frame) const {
    auto box = std::make_unique<QGroupBox>(frame.Title);
    box->setCheckable(frame.Checkable);
    if (frame.Dark)
      box->setPalette(DarkPalette());
    if (frame.FontPixels) {
      QFont font = box->font();
      font.setPixelSize(frame.FontPixels);
      box->setFont(font);
    }
    return box;
  }
};

TEST_F(TSampledFrameStyleTest, FramesPaintedFromASampleAreFusionsPixelForPixel) {
  const QStyle::PrimitiveElement tabFrame = QStyle::PE_FrameTabWidget, groupBox = QStyle::PE_FrameGroupBox;
  const std::vector<TFrameCase> cases = {
      {.Name = "tab frame, the window's", .Element = tabFrame, .Size = {900, 616}},
      {.Name = "tab frame, tabs below", .Element = tabFrame, .Size = {400, 300}, .Shape = QTabBar::RoundedSouth},
      {.Name = "tab frame, tabs on the left", .Element = tabFrame, .Size = {400, 300}, .Shape = QTabBar::RoundedWest},
      {.Name = "tab frame, just over the sample", .Element = tabFrame, .Size = {18, 18}},
      {.Name = "tab frame, dark", .Element = tabFrame, .Size = {500, 200}, .Dark = true},
      {.Name = "group box with a title", .Element = groupBox, .Size = {878, 413}, .Title = QStringLiteral("Plik XML")},
      {.Name = "group box without a title", .Element = groupBox, .Size = {878, 175}},
      {.Name = "checkable group box", .Element = groupBox, .Size = {300, 120}, .Checkable = true},
      {.Name = "group box, dark",
       .Element = groupBox,
       .Size = {300, 200},
       .Title = QStringLiteral("Dane"),
       .Dark = true},
      {.Name = "checkable group box, a font smaller than the check box",
       .Element = groupBox,
       .Size = {300, 200},
       .Checkable = true,
       .FontPixels = 3},
      {.Name = "group box, large font",
       .Element = groupBox,
       .Size = {300, 200},
       .Title = QStringLiteral("Dane"),
       .FontPixels = 40},
  };
  const auto fusion = Fusion();
  for (const TFrameCase &frame : cases) {
    SCOPED_TRACE(frame.Name);
    const auto widget = GroupBoxFor(frame);
    const auto option = OptionFor(frame, *widget);
    const QSize imageSize = frame.Size + QSize(10, 10);
    bool sampled = false;
    const QImage subject = PaintedOnGradient(imageSize, [&](QPainter &painter) {
      sampled = PaintFromSample(*fusion, frame.Element, Common(option), painter, widget.get());
    });
    const QImage reference = PaintedOnGradient(imageSize, [&](QPainter &painter) {
      fusion->drawPrimitive(frame.Element, &Common(option), &painter, widget.get());
    });
    EXPECT_TRUE(sampled);
    EXPECT_TRUE(subject == reference);
  }
}

TEST_F(TSampledFrameStyleTest, LeavesToTheBaseStyleWhatASampleCannotShow) {
  const auto fusion = Fusion();
  const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
  ASSERT_NE(windows, nullptr);
  QGroupBox widget(QStringLiteral("Plik XML"));
  const TFrameCase tall{.Name = "", .Element = QStyle::PE_FrameGroupBox, .Size = {400, 300}};
  const TFrameCase small{.Name = "", .Element = QStyle::PE_FrameGroupBox, .Size = {10, 10}};
  struct TRefusal {
    const char *Name;
    const QStyle &Base;
    const TFrameCase &Frame;
    QTransform Transform;
    QStyle::PrimitiveElement Element = QStyle::PE_FrameGroupBox;
  };
  const std::vector<TRefusal> refusals = {
      {"another style than Fusion", *windows, tall, {}},
      {"a scaled painter", *fusion, tall, QTransform::fromScale(1.5, 1.5)},
      {"half a pixel off", *fusion, tall, QTransform::fromTranslate(0.5, 0)},
      {"a frame no larger than the sample", *fusion, small, {}},
      {"another element", *fusion, tall, {}, QStyle::PE_Frame},
  };
  for (const TRefusal &refusal : refusals) {
    SCOPED_TRACE(refusal.Name);
    const auto option = OptionFor(refusal.Frame, widget);
    QImage untouched(600, 500, QImage::Format_ARGB32_Premultiplied);
    untouched.fill(Qt::white);
    QImage image = untouched;
    QPainter painter(&image);
    painter.setTransform(refusal.Transform);
    EXPECT_FALSE(PaintFromSample(refusal.Base, refusal.Element, Common(option), painter, &widget));
    painter.end();
    EXPECT_TRUE(image == untouched);
  }
}

// A page like the window's first: a titled group of fields, then a group holding a log, whose
// opaque view cuts the clip of everything behind it.
std::unique_ptr<QTabWidget> PageLikeTheWindows() {
  auto tabs = std::make_unique<QTabWidget>();
  auto *page = new QWidget;
  auto *layout = new QVBoxLayout(page);
  auto *fields = new QGroupBox(QStringLiteral("Plik XML z fakturą"));
  auto *fieldsLayout = new QVBoxLayout(fields);
  fieldsLayout->addWidget(new QLineEdit(QStringLiteral("/home/ksiegowa/faktura.xml")));
  fieldsLayout->addWidget(new QPushButton(QStringLiteral("Utwórz przelew")));
  layout->addWidget(fields);
  auto *log = new QGroupBox;
  (new QVBoxLayout(log))->addWidget(new QPlainTextEdit(QStringLiteral("MemoLog")));
  layout->addWidget(log, 1);
  tabs->addTab(page, QStringLiteral("Przelew pojedynczy"));
  tabs->addTab(new QWidget, QStringLiteral("Banki"));
  tabs->resize(900, 640);
  return tabs;
}

// The page shown with `style` on every widget, as it looks on the screen.
QImage ShownWith(QStyle &style) {
  auto page = PageLikeTheWindows();
  page->setStyle(&style);
  for (QWidget *child : page->findChildren<QWidget *>())
    child->setStyle(&style);
  page->show();
  ProcessEventsUntil([&] { return page->isVisible(); }, "the page to show");
  return page->grab().toImage();
}

TEST_F(TSampledFrameStyleTest, WindowLooksAsItDoesWithFusion) {
  const auto fusion = Fusion();
  TSampledFrameStyle sampled(Fusion().release());
  EXPECT_TRUE(ShownWith(sampled) == ShownWith(*fusion));
}

} // namespace
