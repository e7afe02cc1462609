#pragma once

#include <QString>

// The words a Polish reader expects for the codes of a KSeF invoice. An unknown code is
// shown as it stands, so that nothing the invoice says is lost.

// RodzajFaktury: "VAT" gives "Faktura podstawowa".
QString InvoiceKindName(const QString &code);
// Rola of Podmiot3: "1" gives "Faktor".
QString PartyRoleName(const QString &code);
// FormaPlatnosci: "6" gives "Przelew".
QString PaymentFormName(const QString &code);
// TypKorekty.
QString CorrectionTypeName(const QString &code);
// The rate of a VAT summary row by its key: "1" (P_13_1) gives "23% lub 22%".
QString VatSummaryRateName(const QString &key);
// P_12 of a line: "23" gives "23%", "0 WDT" gives "0% WDT", "zw" stays.
QString LineRateName(const QString &rate);
// The margin procedure by its element: "P_PMarzy_3_1" gives "towary używane".
QString MarginProcedureName(const QString &element);
// The kind of exemption basis by its element: "P_19A" gives "Przepis ustawy albo aktu
// wydanego na podstawie ustawy".
QString ExemptionBasisName(const QString &element);
// Jednostka of a due date description ("Dzien", "Tydzien"...), in the plural that follows a count.
QString TimeUnitName(const QString &unit);
