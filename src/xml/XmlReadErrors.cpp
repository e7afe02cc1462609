#include "xml/XmlReadErrors.h"

#include <QFileInfo>

namespace {

QString ShortName(const QString &fileName) { return QFileInfo(fileName).fileName(); }

} // namespace

Exception NotAFile(const QString &fileName) {
  const QString reason =
      QFileInfo(fileName).isDir() ? QStringLiteral("to jest folder, a nie plik") : QStringLiteral("plik nie istnieje");
  return Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": %2.").arg(ShortName(fileName), reason));
}

Exception FileInaccessible(const QString &fileName) {
  return Exception(QStringLiteral("Nie można otworzyć pliku \"%1\": brak dostępu do pliku.").arg(ShortName(fileName)));
}

Exception DoctypeRefused(const QString &fileName) {
  return Exception(
      QStringLiteral("Plik \"%1\" zawiera deklarację DOCTYPE, której faktura nie może mieć.").arg(ShortName(fileName)));
}

Exception NotWellFormed(const QString &fileName, const QString &reason) {
  return Exception(QStringLiteral("Plik \"%1\" nie jest poprawnym plikiem XML (%2).").arg(ShortName(fileName), reason));
}
