#pragma once

#include "app/commands/Host.h"

// The button "Stwórz plik PDF dla pojedynczej faktury i wyświetl go": the invoice PDF
// generator (the program Velmira, beside this one or on PATH) renders the invoice to a PDF
// beside it (or into "FAKTURY" when its folder is read-only), which is then opened. A generator that cannot start,
// fails, runs too long or writes nothing is reported as an error, and nothing is opened: an older PDF of the same name
// must never pass for the new one.
class TInvoicePdfPreview {
public:
  explicit TInvoicePdfPreview(THost &host);

  // The button: shows the help box when the field holds nothing but blanks, otherwise runs
  // the preview. True when the PDF was made.
  bool Press(const QString &invoicePath);

  // Makes the PDF and opens it, then logs the success line; a generator failure is logged as
  // one "Błąd: " entry and gives false. An invoice whose KSeF number cannot be read (a
  // missing or malformed file) fails with that error before the generator runs.
  bool CreatePreview(const QString &invoicePath);

  // Where the PDF of the invoice goes: beside it, or into the data directory's "FAKTURY" under
  // the same name when no file can be created beside it (a read-only folder or medium).
  QString PdfPathFor(const QString &invoicePath) const;

  // Runs the generator on the invoice and waits for its end; fails with a Polish message
  // unless it ended well and wrote `pdfPath` during this run.
  void RunPdfGenerator(const QString &invoicePath, const QString &nrKsef, const QString &pdfPath);
  // Opens the PDF with the default application; nothing for a blank path.
  void OpenInvoicePdf(const QString &pdfPath);

  static const QString GeneratorName;
  // How long the generator may run.
  static constexpr int GeneratorTimeoutMs = 60000;

private:
  // The generator beside this program, else the first on PATH; empty when there is none.
  QString FindGenerator() const;

  THost &FHost;
};
