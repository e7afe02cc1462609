#include "MarkdownPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <stdexcept>
#include <vector>

namespace {

// The resolution QTextDocument lays out in before it is printed.
constexpr qreal DocumentDpi = 96;
// What print() puts around the text of a document that has no page size of its own.
constexpr qreal PrintMarginInches = 2 / 2.54;

struct TImageAt {
  int Position;
  int Length;
  QTextImageFormat Format;
};

std::vector<TImageAt> ImagesOf(const QTextDocument &document) {
  std::vector<TImageAt> images;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (const QTextImageFormat format = it.fragment().charFormat().toImageFormat(); format.isValid())
        images.push_back({it.fragment().position(), it.fragment().length(), format});
  return images;
}

// The Markdown reader leaves headings, tables and code as tight as the text around them; a
// printed manual reads better with room around headings, padded cells and shaded code.
void Style(QTextDocument &document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat format = block.blockFormat();
    if (format.headingLevel() > 0) {
      format.setTopMargin(format.headingLevel() == 1 ? 8 : 14);
      format.setBottomMargin(4);
    } else if (format.hasProperty(QTextFormat::BlockCodeFence)) {
      format.setBackground(QColor(0xf0, 0xf0, 0xf0));
    } else {
      continue;
    }
    QTextCursor(block).setBlockFormat(format);
  }
  std::vector<QTextFrame *> frames{document.rootFrame()};
  while (!frames.empty()) {
    QTextFrame *frame = frames.back();
    frames.pop_back();
    for (QTextFrame *child : frame->childFrames())
      frames.push_back(child);
    if (auto *table = qobject_cast<QTextTable *>(frame)) {
      QTextTableFormat format = table->format();
      format.setCellPadding(3);
      format.setCellSpacing(0);
      format.setBorder(0.5);
      format.setBorderCollapse(true);
      format.setBorderBrush(QColor(0x90, 0x90, 0x90));
      table->setFormat(format);
    }
  }
}

} // namespace

qreal A4TextWidth() {
  return QPageSize(QPageSize::A4).rect(QPageSize::Inch).width() * DocumentDpi -
         2 * int(PrintMarginInches * DocumentDpi);
}

std::unique_ptr<QTextDocument> MarkdownDocument(const QString &markdown, const QString &imagesDir, qreal textWidth) {
  auto document = std::make_unique<QTextDocument>();
  QFont font(QStringLiteral("DejaVu Sans"), 10);
  // Without shaping no ligatures are drawn, so that text copied out of the manual ("fl", "fi")
  // is the text printed.
  font.setStyleStrategy(QFont::PreferNoShaping);
  document->setDefaultFont(font);
  document->setMarkdown(markdown);
  for (TImageAt &image : ImagesOf(*document)) {
    const QString fileName = QDir(imagesDir).filePath(image.Format.name());
    const QImage picture(fileName);
    if (picture.isNull())
      throw std::runtime_error("cannot read the image " + fileName.toStdString());
    document->addResource(QTextDocument::ImageResource, QUrl(image.Format.name()), picture);
    const qreal scale = std::min<qreal>(1, textWidth / picture.width());
    image.Format.setWidth(picture.width() * scale);
    image.Format.setHeight(picture.height() * scale);
    QTextCursor cursor(document.get());
    cursor.setPosition(image.Position);
    cursor.setPosition(image.Position + image.Length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(image.Format);
  }
  Style(*document);
  return document;
}

void WritePdf(QTextDocument &document, const QString &fileName, const QString &title) {
  QPdfWriter writer(fileName);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Pavena"));
  writer.setPageSize(QPageSize(QPageSize::A4));
  // print() keeps margins of its own around the text and puts the page number into them.
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  document.print(&writer);
  if (!QFileInfo(fileName).isFile() || QFileInfo(fileName).size() == 0)
    throw std::runtime_error("cannot write " + fileName.toStdString());
}
