#pragma once

#include "model/Payment.h"
#include "whitelist/WhiteListIndex.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// How each payment of a written file stood on the VAT white list, in file order; empty where
// it was not checked (another currency, no NIP, a foreign or malformed account, no index).
using TWhiteListResults = std::vector<std::optional<TWhiteListStatus>>;

// One line of the check's report: an ordinary log line, or the text of an "Uwaga: " warning.
struct TWhiteListLine {
  bool Warning = false;
  QString Text;
};

struct TWhiteListReport {
  TWhiteListResults Results;
  QList<TWhiteListLine> Lines;
};

// Whether the payments name their payees' NIPs: a VideoTel file names none, and the list finds
// an account only together with its owner's NIP.
enum class TPayeeNips { Named, Unnamed };

// Looks every payment in PLN whose payee has a NIP and a Polish account up in the index of
// `day` (the file's execution date) kept in `directory`, or in the newest one before it when
// that day has none. `inPLN` is false for a file in another currency.
TWhiteListReport CheckWhiteList(const TPaymentList &payments, bool inPLN, TPayeeNips nips, QDate day,
                                const QString &directory);

// The NIP and the 26 digits of a Polish account as the list knows them (a "PL" in front, blanks
// and hyphens left out); nothing when either is malformed.
struct TWhiteListPair {
  QString Nip;
  QString Account;
};
std::optional<TWhiteListPair> WhiteListPair(const QString &nip, const QString &account);
// What keeps the pair from the list, naming the NIP, the account or both as given, e.g.
// "NIP „…” ma błędną cyfrę kontrolną"; empty when WhiteListPair takes it.
QString WhiteListPairProblem(const QString &nip, const QString &account);
