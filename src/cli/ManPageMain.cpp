// Writes the manual page pavena-cli(1) when the program is built:
// pavena-cli-manpage OUTPUT DATE, DATE being the day of the version's CHANGELOG.md entry.
#include "CliManPage.h"

#include <QSaveFile>
#include <cstdio>

int main(int argc, char *argv[]) {
  if (argc != 3) {
    std::fputs("Użycie: pavena-cli-manpage PLIK RRRR-MM-DD\n", stderr);
    return 2;
  }
  QSaveFile page(QString::fromLocal8Bit(argv[1]));
  if (!page.open(QIODevice::WriteOnly) ||
      page.write(CliManPage(QStringLiteral(PAVENA_VERSION), QString::fromLocal8Bit(argv[2])).toUtf8()) < 0 ||
      !page.commit()) {
    std::fprintf(stderr, "pavena-cli-manpage: %s\n", qPrintable(page.errorString()));
    return 1;
  }
  return 0;
}
