#pragma once

#include "model/Payment.h"
#include "model/Types.h"

#include <QDateTime>
#include <QString>

// Writes one credit transfer file for a list of payments: one transaction per payment, in
// list order, all debited to the payer's account and requested for today.
class TPain001Writer {
public:
  TPain001Writer() = delete;

  // Writes the document payment after payment into a temporary file beside `fileName`, which
  // replaces `fileName` in one step at the end, so memory does not grow with the list; all time
  // values come from `now`. An empty list gives a document without transactions.
  static void Generate(const TPaymentList &payments, const TCompanyData &settings, const TMPPSettings &mpp,
                       const QString &fileName, const QDateTime &now);
};
