// Writes the program's icon into a directory: pavena.png for the Linux desktops and pavena.ico
// for Windows. Run by the build.
#include "IcoFile.h"
#include "ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[]) {
  QGuiApplication application(argc, argv);
  if (QGuiApplication::arguments().size() != 2) {
    std::fputs("usage: pavena-make-icon OUTPUT_DIR\n", stderr);
    return 2;
  }
  const QDir output(QGuiApplication::arguments().at(1));
  const bool png = DrawProgramIcon(256).save(output.filePath(QStringLiteral("pavena.png")), "PNG");
  QList<QImage> sizes;
  for (const int size : {16, 24, 32, 48, 64, 128, 256})
    sizes << DrawProgramIcon(size);
  QSaveFile ico(output.filePath(QStringLiteral("pavena.ico")));
  const bool icoWritten = ico.open(QIODevice::WriteOnly) && ico.write(IcoFileBytes(sizes)) >= 0 && ico.commit();
  if (!png || !icoWritten) {
    std::fprintf(stderr, "pavena-make-icon: cannot write into %s\n", qPrintable(output.path()));
    return 1;
  }
  return 0;
}
