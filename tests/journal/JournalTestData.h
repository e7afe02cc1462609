#pragma once

#include "journal/JournalRecords.h"

#include <QString>

// A payment of the journal tests: an invoice of a payee, in złoty.
TJournalPayment InvoicePayment(const QString &nip, const QString &invoiceNumber,
                               TAmount amount = TAmount::FromUnits(1234500));

// A VideoTel payment: known by its account, amount and title.
TJournalPayment VideoTelPayment(const QString &iban, TAmount amount, const QString &title);

// A file written at `writtenAt`, archived as "PLIKI_DO_BANKU/archiwum/<archiveName>".
TJournalFile WrittenFile(const QString &archiveName, const QDateTime &writtenAt);

// A real KSeF number (35 characters, right check sum) for the NIP 1234563218.
extern const QString RealKsefNumber;
