#pragma once

#include "model/Payment.h"
#include "model/Types.h"

#include <QDateTime>
#include <QString>

// Writes the credit transfer file that pays one invoice.
class TPain001Generator {
public:
  TPain001Generator() = delete;

  // Writes the document into a temporary file beside `outputFile`, which replaces `outputFile`
  // in one step at the end. The remittance quotes the payment's nrKsef, and
  // `additionalReference` closes the plain remittance text; the caller takes it from the
  // window when the command runs. The creditor's address parts are written as given: the
  // caller cuts them to their fields. All time values come from `now`. Under split payment a
  // VAT amount of zero or less fails, and nothing is written.
  static void Generate(const TPayment &invoice, const TCompanyData &company, const TMPPSettings &mpp,
                       const QString &outputFile, const QString &additionalReference, const QDateTime &now);
};
