#include "pdf/PdfPages.h"

#include "model/Exception.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextLayout>
#include <memory>

const char *const PdfFontDirectory = "/usr/share/fonts/truetype/dejavu/";

namespace {

// The writer's resolution: device units are tenths of a point.
constexpr int Resolution = 720;
constexpr qreal Pt = Resolution / 72.0;

constexpr qreal Margin = 36 * Pt;
constexpr qreal FooterHeight = 26 * Pt;
constexpr qreal CellPadding = 3 * Pt;
constexpr qreal BlockGap = 5 * Pt;
constexpr qreal QrModule = 2.2 * Pt;

const QColor Ink(0x1a, 0x1a, 0x1a);
const QColor Muted(0x5f, 0x63, 0x68);
const QColor Accent(0x1f, 0x3a, 0x5f);
const QColor Rule(0xb4, 0xb9, 0xc0);
const QColor HeaderFill(0xe9, 0xed, 0xf2);

QString FontFamily() {
  static const QString family = [] {
    QString loaded;
    for (const char *file : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"}) {
      const QString path = QString::fromLatin1(PdfFontDirectory) + QString::fromLatin1(file);
      const int id = QFontDatabase::addApplicationFont(path);
      if (id < 0)
        throw Exception(QStringLiteral("Nie można wczytać czcionki %1 (pakiet fonts-dejavu-core).").arg(path));
      loaded = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    return loaded;
  }();
  return family;
}

QFont Font(qreal points, bool bold = false) {
  QFont font(FontFamily());
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  // Without shaping no ligatures are drawn: "fl" stays two letters and copies out of the PDF
  // as "fl", which a link or a number copied from the page needs.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

// A text laid out in a width: broken at word boundaries, or inside a word too long for a line.
class TTextBox {
public:
  TTextBox(const QString &text, const QFont &font, qreal width, QPaintDevice *device,
           Qt::Alignment alignment = Qt::AlignLeft)
      : FLayout(std::make_unique<QTextLayout>(QString(text).replace(u'\n', QChar::LineSeparator), font, device)) {
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    FLayout->setTextOption(option);
    FLayout->beginLayout();
    for (QTextLine line = FLayout->createLine(); line.isValid(); line = FLayout->createLine()) {
      line.setLineWidth(width);
      line.setPosition(QPointF(0, FHeight));
      FHeight += line.height();
    }
    FLayout->endLayout();
  }

  qreal Height() const { return FHeight; }
  void Draw(QPainter *painter, QPointF topLeft, const QColor &color) const {
    if (!painter)
      return;
    painter->setPen(color);
    FLayout->draw(painter, topLeft);
  }

private:
  // Held by pointer so that boxes can be kept in containers.
  std::unique_ptr<QTextLayout> FLayout;
  qreal FHeight = 0;
};

// Fills pages from top to bottom. Run once without a painter to count the pages, then again
// with one to draw them, so that every foot can name the number of pages.
class TPageFlow {
public:
  TPageFlow(QPdfWriter &writer, QPainter *painter, QString footer, int pageCount)
      : FWriter(writer), FPainter(painter), FFooter(std::move(footer)), FPageCount(pageCount),
        FWidth(writer.width() - 2 * Margin), FBottom(writer.height() - Margin - FooterHeight), FY(Margin) {}

  int Finish() {
    DrawFoot();
    return FPage;
  }

  void Place(const TTitleBlock &title);
  void Place(const THeadingBlock &heading, qreal keepWithNext);
  void Place(const TTextBlock &text);
  void Place(const TFieldsBlock &fields);
  void Place(const TPartiesBlock &parties);
  void Place(const TTableBlock &table);
  void Place(const TTotalBlock &total);
  void Place(const TQrBlock &code);

  // How much of the block must stand on the page with the heading above it.
  qreal LeadHeight(const TPdfBlock &block);

private:
  QPaintDevice *Device() { return &FWriter; }
  qreal Left() const { return Margin; }

  void NewPage() {
    DrawFoot();
    if (FPainter)
      FWriter.newPage();
    ++FPage;
    FY = Margin;
  }
  // Starts a new page unless `height` fits below the current position (a block taller than a
  // whole page starts at the top of one and runs past it).
  void Ensure(qreal height) {
    if (FY + height > FBottom && FY > Margin)
      NewPage();
  }
  void DrawFoot() {
    if (!FPainter)
      return;
    const qreal top = FWriter.height() - Margin - FooterHeight + 10 * Pt;
    FPainter->setPen(QPen(Rule, 0.5 * Pt));
    FPainter->drawLine(QPointF(Left(), top), QPointF(Left() + FWidth, top));
    const QString pages = QStringLiteral("Strona %1 z %2").arg(FPage).arg(FPageCount);
    const TTextBox number(pages, Font(7), 80 * Pt, Device(), Qt::AlignRight);
    const TTextBox footer(FFooter, Font(7), FWidth - 90 * Pt, Device());
    footer.Draw(FPainter, QPointF(Left(), top + 4 * Pt), Muted);
    number.Draw(FPainter, QPointF(Left() + FWidth - 80 * Pt, top + 4 * Pt), Muted);
  }
  void HorizontalRule(qreal y, const QColor &color, qreal width) {
    if (!FPainter)
      return;
    FPainter->setPen(QPen(color, width));
    FPainter->drawLine(QPointF(Left(), y), QPointF(Left() + FWidth, y));
  }

  // The header row and each row of a table: its cells laid out in the columns' widths.
  std::vector<TTextBox> Cells(const QStringList &texts, const std::vector<qreal> &widths,
                              const std::vector<TTableColumn> &columns, const QFont &font);
  qreal RowHeight(const std::vector<TTextBox> &cells) const;
  void DrawRow(const std::vector<TTextBox> &cells, const std::vector<qreal> &widths, qreal height, bool header);

  QPdfWriter &FWriter;
  QPainter *FPainter;
  QString FFooter;
  int FPageCount;
  qreal FWidth;
  qreal FBottom;
  qreal FY;
  int FPage = 1;
};

void TPageFlow::Place(const TTitleBlock &title) {
  const qreal half = FWidth / 2;
  const TTextBox kind(title.Kind, Font(16, true), half - 10 * Pt, Device());
  const TTextBox numberLabel(QStringLiteral("Numer faktury"), Font(8), half, Device(), Qt::AlignRight);
  const TTextBox number(title.Number, Font(14, true), half, Device(), Qt::AlignRight);
  const qreal right = Left() + half;
  kind.Draw(FPainter, QPointF(Left(), FY), Accent);
  qreal y = FY;
  numberLabel.Draw(FPainter, QPointF(right, y), Muted);
  y += numberLabel.Height();
  number.Draw(FPainter, QPointF(right, y), Ink);
  y += number.Height();
  if (!title.KsefNumber.isEmpty()) {
    const TTextBox ksef(QStringLiteral("Numer KSeF: ") + title.KsefNumber, Font(8, true), half, Device(),
                        Qt::AlignRight);
    ksef.Draw(FPainter, QPointF(right, y + 2 * Pt), Ink);
    y += ksef.Height() + 2 * Pt;
  }
  FY = std::max(FY + kind.Height(), y) + 6 * Pt;
  HorizontalRule(FY, Accent, 1.2 * Pt);
  FY += BlockGap + 2 * Pt;
}

void TPageFlow::Place(const THeadingBlock &heading, qreal keepWithNext) {
  const TTextBox text(heading.Text, Font(10, true), FWidth, Device());
  Ensure(4 * Pt + text.Height() + 3 * Pt + keepWithNext);
  FY += 4 * Pt;
  text.Draw(FPainter, QPointF(Left(), FY), Accent);
  FY += text.Height() + 1 * Pt;
  HorizontalRule(FY, Rule, 0.6 * Pt);
  FY += 3 * Pt;
}

void TPageFlow::Place(const TTextBlock &text) {
  const TTextBox box(text.Text, Font(8, text.Bold), FWidth, Device());
  Ensure(box.Height());
  box.Draw(FPainter, QPointF(Left(), FY), Ink);
  FY += box.Height() + 2 * Pt;
}

void TPageFlow::Place(const TFieldsBlock &fields) {
  const qreal labelWidth = 0.38 * FWidth;
  for (const TField &field : fields.Fields) {
    const TTextBox label(field.Label + u':', Font(8), labelWidth - 6 * Pt, Device());
    const TTextBox value(field.Value, Font(8, true), FWidth - labelWidth, Device());
    const qreal height = std::max(label.Height(), value.Height());
    Ensure(height);
    label.Draw(FPainter, QPointF(Left(), FY), Muted);
    value.Draw(FPainter, QPointF(Left() + labelWidth, FY), Ink);
    FY += height + 1.5 * Pt;
  }
  FY += BlockGap - 1.5 * Pt;
}

void TPageFlow::Place(const TPartiesBlock &parties) {
  const qreal gap = 12 * Pt;
  const qreal width = (FWidth - gap) / 2;
  for (size_t first = 0; first < parties.Parties.size(); first += 2) {
    struct TBox {
      TTextBox Title, Name, Lines;
    };
    std::vector<TBox> boxes;
    qreal height = 0;
    for (size_t i = first; i < std::min(first + 2, parties.Parties.size()); ++i) {
      const TPartyBox &party = parties.Parties[i];
      boxes.push_back({TTextBox(party.Title, Font(9, true), width, Device()),
                       TTextBox(party.Name, Font(8.5, true), width, Device()),
                       TTextBox(party.Lines.join(u'\n'), Font(8), width, Device())});
      const TBox &box = boxes.back();
      height = std::max(height, box.Title.Height() + 2 * Pt + box.Name.Height() + 1 * Pt + box.Lines.Height());
    }
    Ensure(height);
    for (size_t i = 0; i < boxes.size(); ++i) {
      const qreal x = Left() + static_cast<qreal>(i) * (width + gap);
      qreal y = FY;
      boxes[i].Title.Draw(FPainter, QPointF(x, y), Accent);
      y += boxes[i].Title.Height();
      if (FPainter) {
        FPainter->setPen(QPen(Rule, 0.6 * Pt));
        FPainter->drawLine(QPointF(x, y + 1 * Pt), QPointF(x + width, y + 1 * Pt));
      }
      y += 2 * Pt;
      boxes[i].Name.Draw(FPainter, QPointF(x, y), Ink);
      y += boxes[i].Name.Height() + 1 * Pt;
      boxes[i].Lines.Draw(FPainter, QPointF(x, y), Ink);
    }
    FY += height + 8 * Pt;
  }
}

std::vector<TTextBox> TPageFlow::Cells(const QStringList &texts, const std::vector<qreal> &widths,
                                       const std::vector<TTableColumn> &columns, const QFont &font) {
  std::vector<TTextBox> cells;
  for (size_t i = 0; i < widths.size(); ++i)
    cells.emplace_back(texts.value(static_cast<qsizetype>(i)), font, widths[i] - 2 * CellPadding, Device(),
                       columns[i].Numeric ? Qt::AlignRight : Qt::AlignLeft);
  return cells;
}

qreal TPageFlow::RowHeight(const std::vector<TTextBox> &cells) const {
  qreal height = 0;
  for (const TTextBox &cell : cells)
    height = std::max(height, cell.Height());
  return height + 2 * CellPadding;
}

void TPageFlow::DrawRow(const std::vector<TTextBox> &cells, const std::vector<qreal> &widths, qreal height,
                        bool header) {
  qreal x = Left();
  for (size_t i = 0; i < cells.size(); ++i) {
    if (FPainter) {
      const QRectF cell(x, FY, widths[i], height);
      if (header)
        FPainter->fillRect(cell, HeaderFill);
      FPainter->setPen(QPen(Rule, 0.5 * Pt));
      FPainter->setBrush(Qt::NoBrush);
      FPainter->drawRect(cell);
    }
    cells[i].Draw(FPainter, QPointF(x + CellPadding, FY + CellPadding), header ? Accent : Ink);
    x += widths[i];
  }
  FY += height;
}

void TPageFlow::Place(const TTableBlock &table) {
  double weights = 0;
  for (const TTableColumn &column : table.Columns)
    weights += column.Weight;
  std::vector<qreal> widths;
  QStringList titles;
  for (const TTableColumn &column : table.Columns) {
    widths.push_back(FWidth * column.Weight / weights);
    titles.append(column.Title);
  }
  const std::vector<TTextBox> header = Cells(titles, widths, table.Columns, Font(7, true));
  const qreal headerHeight = RowHeight(header);
  bool headerDrawn = false;
  for (const QStringList &row : table.Rows) {
    const std::vector<TTextBox> cells = Cells(row, widths, table.Columns, Font(7.5));
    const qreal height = RowHeight(cells);
    if (FY + height > FBottom || !headerDrawn) {
      Ensure(headerHeight + height);
      DrawRow(header, widths, headerHeight, true);
      headerDrawn = true;
    }
    DrawRow(cells, widths, height, false);
  }
  FY += BlockGap;
}

void TPageFlow::Place(const TTotalBlock &total) {
  const TTextBox text(total.Label + u' ' + total.Value, Font(11, true), FWidth, Device(), Qt::AlignRight);
  Ensure(text.Height() + 6 * Pt);
  FY += 2 * Pt;
  text.Draw(FPainter, QPointF(Left(), FY), Accent);
  FY += text.Height() + BlockGap + 2 * Pt;
}

void TPageFlow::Place(const TQrBlock &code) {
  const qreal side = code.Code.Width * QrModule;
  // The quiet zone of four modules around the symbol stays empty.
  const qreal quiet = 4 * QrModule;
  const TTextBox number(code.KsefNumber, Font(8, true), FWidth, Device());
  const TTextBox link(code.Link, Font(7), FWidth, Device());
  const qreal numberHeight = code.KsefNumber.isEmpty() ? 0 : number.Height() + 2 * Pt;
  Ensure(side + 2 * quiet + numberHeight + link.Height());
  const QPointF origin(Left() + quiet, FY + quiet);
  if (FPainter) {
    QPainterPath dark;
    for (int y = 0; y < code.Code.Width; ++y)
      for (int x = 0; x < code.Code.Width; ++x)
        if (code.Code.IsDark(x, y))
          dark.addRect(QRectF(origin.x() + x * QrModule, origin.y() + y * QrModule, QrModule, QrModule));
    dark.setFillRule(Qt::WindingFill);
    FPainter->fillPath(dark, Qt::black);
  }
  FY += side + 2 * quiet;
  if (!code.KsefNumber.isEmpty()) {
    number.Draw(FPainter, QPointF(Left(), FY), Ink);
    FY += numberHeight;
  }
  link.Draw(FPainter, QPointF(Left(), FY), Muted);
  FY += link.Height() + BlockGap;
}

qreal TPageFlow::LeadHeight(const TPdfBlock &block) {
  if (const auto *code = std::get_if<TQrBlock>(&block))
    return code->Code.Width * QrModule + 8 * QrModule + 20 * Pt;
  if (std::holds_alternative<TTableBlock>(block))
    return 36 * Pt;
  return 14 * Pt;
}

int LayOut(const std::vector<TPdfBlock> &blocks, QPdfWriter &writer, QPainter *painter, const QString &footer,
           int pageCount) {
  TPageFlow flow(writer, painter, footer, pageCount);
  for (size_t i = 0; i < blocks.size(); ++i) {
    if (const auto *heading = std::get_if<THeadingBlock>(&blocks[i]))
      flow.Place(*heading, i + 1 < blocks.size() ? flow.LeadHeight(blocks[i + 1]) : 0);
    else
      std::visit(
          [&](const auto &block) {
            if constexpr (!std::is_same_v<std::decay_t<decltype(block)>, THeadingBlock>)
              flow.Place(block);
          },
          blocks[i]);
  }
  return flow.Finish();
}

} // namespace

QByteArray WritePdfPages(const std::vector<TPdfBlock> &blocks, const QString &footer, const QString &title) {
  FontFamily();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setResolution(Resolution);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Velmira"));
  const int pageCount = LayOut(blocks, writer, nullptr, footer, 0);
  QPainter painter(&writer);
  painter.setRenderHint(QPainter::Antialiasing);
  LayOut(blocks, writer, &painter, footer, pageCount);
  painter.end();
  return bytes;
}
