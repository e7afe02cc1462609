#pragma once

#include "journal/JournalRecords.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

// What every kind of journal agrees on: how a payment is known again and how times and
// commands are written down.

// What makes two payments the same: the payee's NIP and the invoice number, or for VideoTel
// the account, the amount and the title. None for an invoice without NIP or number, which
// could not tell one payee's invoice from another's.
std::optional<QString> MatchKey(const TJournalPayment &payment);

// Only the current form of the number carries a check sum; the older, unchecked form is
// kept for reading but matches nothing.
std::optional<QString> MatchingKsefNumber(const TJournalPayment &payment);

// The hash a key is indexed by: the first 8 bytes of the SHA-256 of its UTF-8, read as a
// big-endian signed number. Every journal holds it, so it never changes.
std::int64_t KeyHash(const QByteArray &utf8);

// A key as the journal keeps it: its text, and the hash it is found by.
struct THashedKey {
  QString Text;
  std::int64_t Hash = 0;
};

std::optional<THashedKey> Hashed(const std::optional<QString> &key);

// The key an invoice's mark is kept by: its KSeF number when it has a real one, else its
// seller's NIP and its number as FindEarlier matches them (case and surrounding blanks
// ignored); none when it has neither.
std::optional<QString> InvoiceKey(const QString &ksefNumber, const QString &nip, const QString &invoiceNumber);

// The command's name as the journal keeps it: "faktura", "paczka", "videotel".
QString CommandName(TJournalCommand command);

// Times as the journal keeps them, "2026-03-05T14:05:09".
QString StoredDateTime(const QDateTime &time);
QDateTime ReadDateTime(const QString &text);
