#pragma once

#include "model/Amount.h"

#include <QString>

// One segment of the banks' split-payment title: its code and the text it should carry, of
// which the title holds as much as the banks read in that segment.
struct TTitleSegment {
  QString Code;
  qsizetype Width = 0;
  QString Whole;

  QString Written() const { return Whole.left(Width); }
  // What the title leaves out; empty when the whole text fits.
  QString Lost() const { return Whole.mid(Width); }
};

// The split-payment title in the one form Polish banks read as such, the form of their own
// transfer forms and of the interbank Elixir format:
// "/VAT/230,00/IDC/<NIP>/INV/<KSeF number or invoice number>/TXT/<invoice number or reference>".
struct TStandardTitle {
  // The VAT amount with two decimals and a decimal comma.
  QString VAT;
  // The supplier's NIP.
  TTitleSegment IDC;
  // The invoice's KSeF number when it has a real one, else its number.
  TTitleSegment INV;
  // The invoice number when INV carries the KSeF number, else the additional reference.
  TTitleSegment TXT;
  bool QuotesKsefNumber = false;

  QString Text() const;
};

// `ksefNumber` counts only when it is a KSeF number of the current form, 35 characters with a
// right check sum: whatever else an invoice's SystemInfo carries gives way to the invoice
// number. A NIP written with blanks, hyphens or a "PL" prefix goes in as its ten digits; all
// other values go in as they are, a slash too, cut to their segments.
TStandardTitle StandardTitle(TAmount vatAmount, const QString &creditorNIP, const QString &ksefNumber,
                             const QString &invoiceNumber, const QString &additionalReference);
