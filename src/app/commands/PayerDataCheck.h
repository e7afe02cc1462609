#pragma once

#include "app/commands/BankTable.h"
#include "app/commands/Host.h"
#include "model/Types.h"

#include <QList>
#include <QString>

// The check made when payer data are saved, on the page "Funkcje techniczne" and in the bank
// account dialog alike. A value that cannot be right is named with what is wrong with it, and
// the user, who may know better, decides whether it is saved anyway.

// One field as the user sees it, and what is wrong with its value: empty when nothing is.
struct TFieldCheck {
  QString Caption;
  QString Problem;
};

// The IBAN as the program keeps it: without blanks, in capitals.
QString NormalisedIban(const QString &iban);

// "Nazwa Płatnika", "NIP Płatnika", "IBAN Płatnika" and "BIC Płatnika", in this order.
QList<TFieldCheck> CheckPayerData(const TCompanyData &payer);

// The dialog's "Opis konta", "IBAN konta", "BIC konta", "NIP Płatnika" and "Nazwa Płatnika", in
// this order.
QList<TFieldCheck> CheckBankRow(const TBankRow &row);

// True when every field is right, or when the user answers Yes to the question that names each
// wrong field and what is wrong with it.
bool ConfirmSavingDespiteProblems(IDialogs &dialogs, const QList<TFieldCheck> &checks);
