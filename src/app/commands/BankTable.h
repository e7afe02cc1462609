#pragma once

#include <QString>

// One account of the register as the table of the page "Banki" holds it, every value whole as
// BANKI.INI or the dialog gave it. `konto` is the name of the section the row was read from
// (empty for rows added during the run); it is never shown and never written back.
struct TBankRow {
  QString konto;
  QString Opis;
  QString IBAN;
  QString BIC;
  QString NIP;
  QString Name;
};
