#pragma once

#include "model/Types.h"

#include <QDateTime>
#include <QString>

// Writes the credit transfer file that pays one invoice.
class TPain001Generator {
public:
  TPain001Generator() = delete;

  // Writes the document into a temporary file beside `outputFile`, which replaces `outputFile`
  // in one step at the end. `invoiceFilePath` names the invoice file whose KSeF number the
  // remittance quotes and `additionalReference` closes the plain remittance text; the caller
  // takes both from the window when the command runs. All time values come from `now`.
  // Under split payment a VAT amount of zero or less fails after the KSeF number is read, and
  // nothing is written.
  static void Generate(const TInvoicePaymentData &invoice, const TCompanyData &company, const TMPPSettings &mpp,
                       const QString &outputFile, const QString &invoiceFilePath, const QString &additionalReference,
                       const QDateTime &now);
};
