#include "MarkdownPdf.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QImage>
#include <QTextBlock>
#include <QTextImageFormat>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QList<QTextImageFormat> ImagesOf(const QTextDocument &document) {
  QList<QTextImageFormat> images;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      if (const QTextImageFormat format = it.fragment().charFormat().toImageFormat(); format.isValid())
        images << format;
  return images;
}

class TMarkdownPdfTest : public ::testing::Test {
protected:
  // Laying out text needs the fonts of an application.
  TMarkdownPdfTest() { EnsureApplication(); }

  void SaveImage(const QString &name, int width, int height) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(Images.File(name)));
  }

  TTempDir Images;
};

TEST_F(TMarkdownPdfTest, AScreenshotWiderThanThePageIsScaledDownAndASmallOneKept) {
  SaveImage(QStringLiteral("szeroki.png"), 1200, 600);
  SaveImage(QStringLiteral("maly.png"), 100, 40);

  const auto document = MarkdownDocument(
      QStringLiteral("# Okno\n\n![Okno](szeroki.png)\n\nIkona: ![ikona](maly.png)\n"), Images.Path(), 600);

  const QList<QTextImageFormat> images = ImagesOf(*document);
  ASSERT_EQ(images.size(), 2);
  EXPECT_DOUBLE_EQ(images[0].width(), 600);
  EXPECT_DOUBLE_EQ(images[0].height(), 300);
  EXPECT_DOUBLE_EQ(images[1].width(), 100);
  EXPECT_FALSE(document->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("szeroki.png"))).isNull());
}

TEST_F(TMarkdownPdfTest, AMissingImageIsNamed) {
  try {
    MarkdownDocument(QStringLiteral("![Okno](brak.png)\n"), Images.Path(), 600);
    ADD_FAILURE() << "a missing image must stop the manual";
  } catch (const std::runtime_error &error) {
    EXPECT_EQ(std::string(error.what()),
              "cannot read the image " + Images.File(QStringLiteral("brak.png")).toStdString());
  }
}

TEST_F(TMarkdownPdfTest, WritesAnA4Pdf) {
  const auto document =
      MarkdownDocument(QStringLiteral("# Instrukcja\n\nZażółć gęślą jaźń.\n"), Images.Path(), A4TextWidth());

  WritePdf(*document, Images.File(QStringLiteral("instrukcja.pdf")), QStringLiteral("Instrukcja"));

  const QByteArray pdf = Images.ReadBytes(QStringLiteral("instrukcja.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF-"));
  // 595 by 842 points is A4.
  EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595.000000 842.000000]")) << pdf.left(2000).toStdString();
}

TEST_F(TMarkdownPdfTest, TextCopiesOutOfThePdfAsWritten) {
  const QString markdown = QStringLiteral("# Identyfikator\n\nOfficial effect, `ffl` and **fi**.\n\n"
                                          "| Plik | Profil |\n|---|---|\n| fa.xml | offline |\n");
  const auto document = MarkdownDocument(markdown, Images.Path(), A4TextWidth());

  WritePdf(*document, Images.File(QStringLiteral("instrukcja.pdf")), QStringLiteral("Instrukcja"));

  const QString text = PdfText(Images.File(QStringLiteral("instrukcja.pdf")));
  for (const char *expected : {"Identyfikator", "Official effect, ffl and fi.", "Profil", "offline"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

} // namespace
