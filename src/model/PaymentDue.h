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
  // ZnacznikZaplatyCzesciowej, and the sum of its ZaplataCzesciowa amounts.
  bool PartlyPaid = false;
  TAmount PaidParts;
  // RodzajFaktury names a correction (KOR, KOR_ZAL, KOR_ROZ).
  bool Correction = false;
  // The invoice names the seller's bank account (RachunekBankowy with its NrRB).
  bool HasAccount = false;
};
