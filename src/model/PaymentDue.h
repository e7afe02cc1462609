#pragma once

#include "model/Amount.h"

#include <QDate>
#include <optional>

// What an invoice says of when it falls due and how much of it is paid, for the list of what is
// still to pay.
struct TPaymentDue {
  // The latest Termin of the invoice's TerminPlatnosci; empty when it names no day ("brak terminu").
  std::optional<QDate> DueDate;
  // Zaplacono: the invoice says it is paid whole.
  bool Paid = false;
  // ZnacznikZaplatyCzesciowej 1 (part of it paid) or 2 (paid whole in two or more parts, with
  // no Zaplacono), and the sum of its ZaplataCzesciowa amounts.
  bool PartlyPaid = false;
  bool PaidInParts = false;
  TAmount PaidParts;
  // RodzajFaktury names a correction (KOR, KOR_ZAL, KOR_ROZ).
  bool Correction = false;
  // RodzajFaktury names an advance invoice (ZAL, KOR_ZAL).
  bool Advance = false;
  // The invoice names the seller's bank account (RachunekBankowy with its NrRB).
  bool HasAccount = false;
};
