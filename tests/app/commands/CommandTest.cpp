#include "CommandTest.h"

#include <QDir>
#include <QFile>

const QByteArray PayerSettings = "[COMPANY]\r\nNIP=6772314552\r\nName=Pracownia Architektoniczna Wrzos sp. z o.o.\r\n"
                                 "IBAN=PL79114020044000030020135538\r\nBIC=BREXPLPWXXX\r\n";

TCommandTest::TCommandTest() {
  AppDirectory.Paths().CreateWorkDirectories();
  WriteAppFile(QStringLiteral("settings.ini"), PayerSettings);
}

QString TCommandTest::AppFile(const QString &relative) const { return AppDirectory.File(relative); }

bool TCommandTest::AppFileExists(const QString &relative) const { return QFile::exists(AppFile(relative)); }

void TCommandTest::WriteAppFile(const QString &relative, const QByteArray &bytes) const {
  AppDirectory.WriteBytes(relative, bytes);
}

QByteArray TCommandTest::ReadAppFile(const QString &relative) const { return AppDirectory.ReadBytes(relative); }

QStringList TCommandTest::Log() const {
  QStringList lines;
  for (const TLogEntry &entry : Host.LogEntries)
    lines.append(entry.WithSeparator ? entry.Text + QStringLiteral("|separator") : entry.Text);
  return lines;
}

QStringList TCommandTest::Warnings() const {
  QStringList texts;
  for (const TLogEntry &entry : Host.LogEntries)
    if (entry.Kind == TLogKind::Warning)
      texts.append(entry.Text);
  return texts;
}

QString TCommandTest::MissingPayerError(const QString &missing) const {
  return QStringLiteral("Błąd: %1 w %2: uzupełnij dane Płatnika na stronie „Funkcje techniczne” i naciśnij „Zapisz "
                        "dane Płatnika” albo wpisz je w sekcji [COMPANY] tego pliku (klucze Name, NIP, IBAN, BIC)")
      .arg(missing, AppFile(QStringLiteral("settings.ini")));
}

QByteArray CommandFixture(const QString &name) {
  QFile file(FixturePath(QStringLiteral("commands/") + name));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Missing fixture " + name.toStdString());
  return file.readAll();
}

QString WhiteListNotChecked() {
  return QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą podatników VAT: nie wczytano jeszcze pliku "
                        "płaskiego (przycisk „Wczytaj plik płaski…” na stronie „Funkcje techniczne” albo pavena-cli "
                        "biala-lista wczytaj PLIK).");
}

QString Separator() { return QString(104, u'-'); }

QByteArray InvoiceXml(const QString &sellerName, const QString &adresL1, const QString &adresL2,
                      const QString &invoiceNumber) {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<Faktura>\n"
             "  <Podmiot1>\n"
             "    <DaneIdentyfikacyjne><NIP>8943001230</NIP><Nazwa>%1</Nazwa></DaneIdentyfikacyjne>\n"
             "    <Adres><KodKraju>PL</KodKraju><AdresL1>%2</AdresL1><AdresL2>%3</AdresL2></Adres>\n"
             "  </Podmiot1>\n"
             "  <Fa>\n"
             "    <KodWaluty>PLN</KodWaluty><P_1>2026-03-02</P_1><P_2>%4</P_2>\n"
             "    <P_14_1>23.00</P_14_1><P_15>123.00</P_15>\n"
             "    <Platnosc><RachunekBankowy><NrRB>PL32102028922000000102034567</NrRB></RachunekBankowy></Platnosc>\n"
             "  </Fa>\n"
             "</Faktura>\n")
      .arg(sellerName, adresL1, adresL2, invoiceNumber)
      .toUtf8();
}
