#include "checks/TransferFileCheck.h"

#include "checks/CutTextChecks.h"
#include "checks/Pain001Schema.h"
#include "checks/SchemaFindings.h"
#include "checks/TransferChecks.h"

#include <QSet>
#include <algorithm>

namespace {

QString ElementKey(int transfer, const QString &element) { return QString::number(transfer) + u'/' + element; }

QString Sentence(const TTransferFinding &finding, const TPaymentList &payments) {
  if (finding.Transfer == TTransferFinding::NoTransfer || finding.Transfer >= int(payments.size())) {
    QString text = finding.Text;
    if (!text.isEmpty())
      text[0] = text[0].toUpper();
    return text;
  }
  return TransferName(payments[std::size_t(finding.Transfer)]) + QStringLiteral(": ") + finding.Text;
}

} // namespace

QStringList CheckTransferFile(const QString &fileName, const TCompanyData &payer, const TPaymentList &payments,
                              QList<TTransferFinding> findings, const TXmlElementVisitor &alsoVisit) {
  findings += CheckPayer(payer);
  findings += CheckPayments(payments);
  // Read as a stream: a file of any number of transfers is never held whole.
  TCutTextCheck cutTexts(payments);
  const QList<TXmlViolation> violations = Pain001Schema().Violations(fileName, [&](const TXmlStreamElement &element) {
    cutTexts.Visit(element);
    if (alsoVisit)
      alsoVisit(element);
  });
  findings += cutTexts.Findings();

  // A violation that a finding above already explains would only say the same again.
  QSet<QString> explained;
  for (const TTransferFinding &finding : findings)
    for (const QString &element : finding.Elements)
      explained.insert(ElementKey(finding.Transfer, element));
  for (const TTransferFinding &finding : SchemaFindings(violations))
    if (!explained.contains(ElementKey(finding.Transfer, finding.Elements.value(0))))
      findings.append(finding);

  std::stable_sort(findings.begin(), findings.end(),
                   [](const TTransferFinding &a, const TTransferFinding &b) { return a.Transfer < b.Transfer; });
  QStringList sentences;
  for (const TTransferFinding &finding : findings)
    sentences.append(Sentence(finding, payments));
  return sentences;
}
