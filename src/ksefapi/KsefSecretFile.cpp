#include "ksefapi/KsefSecretFile.h"

#include "model/Exception.h"

#include <QFile>
#include <sys/stat.h>

namespace {

// A token is a few hundred characters.
constexpr qint64 MaxTokenFile = 64 * 1024;

QString CannotOpen(const QString &fileName) { return QStringLiteral("Nie można otworzyć pliku „%1”.").arg(fileName); }

} // namespace

void CheckPrivateFile(const QString &fileName) {
  struct stat status {};
  if (::stat(QFile::encodeName(fileName).constData(), &status) != 0)
    throw Exception(CannotOpen(fileName));
  const unsigned permissions = status.st_mode & 07777;
  if ((permissions & ~0600u) != 0)
    throw Exception(QStringLiteral("Plik „%1” mogą czytać lub zmieniać inni użytkownicy (uprawnienia %2): token KSeF "
                                   "i klucz prywatny muszą być dostępne tylko dla właściciela; wykonaj chmod 600 "
                                   "„%1” i spróbuj ponownie.")
                        .arg(fileName, QString::number(permissions, 8).rightJustified(4, u'0')));
}

QByteArray ReadTokenFile(const QString &fileName) {
  CheckPrivateFile(fileName);
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(CannotOpen(fileName));
  if (file.size() > MaxTokenFile)
    throw Exception(QStringLiteral("Plik „%1” nie jest tokenem KSeF (jest za duży).").arg(fileName));
  return file.readAll();
}
