#include "JournalTestData.h"

const QString RealKsefNumber = QStringLiteral("1234563218-20260305-0A1B2C3D4E5F-7E");

TJournalPayment InvoicePayment(const QString &nip, const QString &invoiceNumber, TAmount amount) {
  TJournalPayment payment;
  payment.PayeeName = QStringLiteral("Dostawca %1").arg(nip);
  payment.PayeeNIP = nip;
  payment.PayeeIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.Amount = amount;
  payment.Currency = QStringLiteral("PLN");
  payment.InvoiceNumber = invoiceNumber;
  payment.Title = QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber;
  return payment;
}

TJournalPayment VideoTelPayment(const QString &iban, TAmount amount, const QString &title) {
  TJournalPayment payment;
  payment.PayeeName = QStringLiteral("Odbiorca VideoTel");
  payment.PayeeIBAN = iban;
  payment.Amount = amount;
  payment.Currency = QStringLiteral("PLN");
  payment.InvoiceNumber = title;
  payment.Title = title;
  payment.VideoTel = true;
  return payment;
}

TJournalFile WrittenFile(const QString &archiveName, const QDateTime &writtenAt) {
  return TJournalFile{.WrittenAt = writtenAt,
                      .Command = TJournalCommand::Batch,
                      .PayerIBAN = QStringLiteral("PL27114020040000300201355387"),
                      .FileName = QStringLiteral("Pain001Paczka.xml"),
                      .Sha256 = QString(64, u'0'),
                      .ArchivePath = QStringLiteral("PLIKI_DO_BANKU/archiwum/") + archiveName,
                      .Warnings = 0};
}
