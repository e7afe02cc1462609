#pragma once

#include "FakeHost.h"
#include "TestSupport.h"
#include "app/commands/TransferCommands.h"

#include <QString>
#include <gtest/gtest.h>

// The payer of the command tests, as settings.ini holds it.
extern const QByteArray PayerSettings;

// A program directory (PAVENA_DIR) with its working directories and a complete payer in
// settings.ini, a fake host with a fixed clock, and the commands working for it.
class TCommandTest : public ::testing::Test {
protected:
  TCommandTest();

  // A file of the program directory, e.g. AppFile("PLIKI_DO_BANKU/Pain001.xml").
  QString AppFile(const QString &relative) const;
  bool AppFileExists(const QString &relative) const;
  void WriteAppFile(const QString &relative, const QByteArray &bytes) const;
  QByteArray ReadAppFile(const QString &relative) const;

  // The log as "text" or "text|separator" lines, for comparing the whole log at once.
  QStringList Log() const;
  // The texts of the entries logged as warnings.
  QStringList Warnings() const;
  // The error line of a transfer that found `missing` ("Brak nazwy firmy") in settings.ini.
  QString MissingPayerError(const QString &missing) const;

  TTempAppDir AppDirectory;
  TFakeHost Host{AppDirectory.Paths()};
  TTransferCommands Commands{Host.Host()};
};

// The note of a transfer while no flat file of the white list was ever loaded.
QString WhiteListNotChecked();

// The line that follows a success entry, and that ends the reader's composite messages.
QString Separator();

// The bytes of a hand-written invoice of tests/fixtures/commands/.
QByteArray CommandFixture(const QString &name);

// A minimal invoice as the reader sees it: seller, address lines, number, amounts, account.
QByteArray InvoiceXml(const QString &sellerName, const QString &adresL1, const QString &adresL2,
                      const QString &invoiceNumber = QStringLiteral("FV/1/2026"));
