#pragma once

#include "checks/TransferFinding.h"
#include "model/Payment.h"
#include "xml/XmlSchema.h"

#include <QList>

// The address parts that did not fit their fields: for each transfer of a written file, read as
// a stream, the payee's street and town as its payment held them, whole, against what the file
// carries, and what was left out or put elsewhere.
class TCutTextCheck {
public:
  // `payments` are what the file's transfers pay, in file order; they must outlive the check.
  explicit TCutTextCheck(const TPaymentList &payments) : FPayments(payments) {}

  // Looks at one element of the file as it ends.
  void Visit(const TXmlStreamElement &element);

  QList<TTransferFinding> Findings() const { return FFindings; }

private:
  void CheckTransfer(int transfer);
  bool HoldsTheTownInTheStreetField(const TPayment &payment) const;
  void ReportTheTownInTheStreetField(int transfer, const TPayment &payment);
  void CheckField(int transfer, const char *name, const QString &field, qsizetype width, const QString &whole,
                  const QString &written);

  const TPaymentList &FPayments;
  // What the transfer being read carries; an element it lacks carries nothing.
  QString FStreet;
  QString FTown;
  QList<TTransferFinding> FFindings;
};
