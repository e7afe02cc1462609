#include "ksefapi/KsefConnection.h"

#include "model/Exception.h"
#include "settings/IniFile.h"

#include <array>
#include <utility>

namespace {

const QString Section = QStringLiteral("KSeF");

constexpr std::array<std::pair<const char16_t *, const char16_t *>, 3> Environments{{
    {u"testowe", u"https://api-test.ksef.mf.gov.pl/v2"},
    {u"demo", u"https://api-demo.ksef.mf.gov.pl/v2"},
    {u"produkcyjne", u"https://api.ksef.mf.gov.pl/v2"},
}};

} // namespace

QStringList KsefEnvironmentNames() {
  QStringList names;
  for (const auto &environment : Environments)
    names << QString::fromUtf16(environment.first);
  return names;
}

TKsefConnection KsefConnectionFromSettings(const QString &settingsFile, const QString &chosenEnvironment) {
  const TIniFile settings(settingsFile);
  const QString configured =
      settings.ReadString(Section, QStringLiteral("Srodowisko"), QStringLiteral("produkcyjne")).toLower();
  const QString environment = chosenEnvironment.isEmpty() ? configured : chosenEnvironment;
  TKsefConnection connection;
  for (const auto &[name, address] : Environments)
    if (environment == QString::fromUtf16(name))
      connection = {environment, QString::fromUtf16(address), {}};
  if (connection.Environment.isEmpty())
    throw Exception(QStringLiteral("Nieznane środowisko KSeF „%1” w settings.ini ([KSeF] Srodowisko=): wpisz "
                                   "testowe, demo albo produkcyjne.")
                        .arg(environment));
  const QString address = settings.ReadString(Section, QStringLiteral("Adres"));
  if (!address.isEmpty()) {
    // The address stands for the configured environment only: another one chosen would reach
    // it all the same while its invoices, start and journal rows were named after the other.
    if (environment != configured)
      throw Exception(QStringLiteral("W settings.ini jest adres KSeF ([KSeF] Adres=) dla środowiska „%1”, więc "
                                     "środowiska „%2” nie można wybrać: zmień [KSeF] Srodowisko= albo usuń Adres=.")
                          .arg(configured, environment));
    if (!address.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive))
      throw Exception(
          QStringLiteral("Adres KSeF „%1” w settings.ini ([KSeF] Adres=) musi zaczynać się od https://.").arg(address));
    connection.BaseUrl = address;
    while (connection.BaseUrl.endsWith(u'/'))
      connection.BaseUrl.chop(1);
  }
  connection.CaFile = settings.ReadString(Section, QStringLiteral("PlikCA"));
  return connection;
}
