#pragma once

#include "ksef/InvoiceDocument.h"
#include "xml/XmlDocument.h"

// How much of an invoice a caller needs: the seller's payment data that a transfer pays by, or
// the whole document that the PDF shows.
enum class TInvoiceExtent { Payment, Whole };

// Reads the invoice of a parsed KSeF file. Elements are found by local name, whatever the
// namespace prefix; texts are taken leniently (whatever text an element holds), and what is
// missing is left empty: whether the invoice will do is for its user to say.
// TInvoiceExtent::Payment reads only the seller's name, NIP, country and two address lines,
// Number, IssueDate, Kind, Currency, the VAT of the rates P_14_1 to P_14_7 (VatRates rows with Key
// and Vat), Total, Annotations.SplitPayment, the whole Payment (accounts, due dates, what is paid)
// and MixedTexts; the rest stays empty.
TInvoiceDocument ReadInvoiceDocument(const TXmlDocument &document, TInvoiceExtent extent = TInvoiceExtent::Whole);
