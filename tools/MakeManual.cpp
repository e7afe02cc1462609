// Turns the manual's Markdown into the PDF delivered beside the executable. Run by the build.
#include "MarkdownPdf.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <exception>

int main(int argc, char *argv[]) {
  QGuiApplication application(argc, argv);
  const QStringList arguments = QGuiApplication::arguments();
  if (arguments.size() != 4) {
    std::fputs("usage: pavena-make-manual MANUAL.md IMAGES_DIR OUTPUT.pdf\n", stderr);
    return 2;
  }
  try {
    QFile source(arguments.at(1));
    if (!source.open(QIODevice::ReadOnly))
      throw std::runtime_error("cannot read " + arguments.at(1).toStdString());
    const auto document = MarkdownDocument(QString::fromUtf8(source.readAll()), arguments.at(2), A4TextWidth());
    WritePdf(*document, arguments.at(3), QStringLiteral("Pavena: instrukcja obsługi"));
  } catch (const std::exception &error) {
    std::fprintf(stderr, "pavena-make-manual: %s\n", error.what());
    return 1;
  }
  return 0;
}
