#pragma once

#include <QString>

// One account of the register as the table of the page "Banki" holds it. `konto` is the name
// of the section the row was read from (empty for rows added during the run); it is never
// shown and never written back.
struct TBankRow {
  QString konto;
  QString Opis;
  QString IBAN;
  QString BIC;
  QString NIP;
  QString Name;
};

// The widths of the table's fields; longer values are cut when a row is stored, and the cut
// value is what a later rewrite of BANKI.INI keeps.
struct TBankRowWidths {
  static constexpr qsizetype konto = 10;
  static constexpr qsizetype Opis = 30;
  static constexpr qsizetype IBAN = 28;
  static constexpr qsizetype BIC = 11;
  static constexpr qsizetype NIP = 10;
  static constexpr qsizetype Name = 70;
};

// The row as the table stores it: every field cut to its width.
inline TBankRow CutToWidths(const TBankRow &row) {
  return {row.konto.left(TBankRowWidths::konto), row.Opis.left(TBankRowWidths::Opis),
          row.IBAN.left(TBankRowWidths::IBAN),   row.BIC.left(TBankRowWidths::BIC),
          row.NIP.left(TBankRowWidths::NIP),     row.Name.left(TBankRowWidths::Name)};
}
