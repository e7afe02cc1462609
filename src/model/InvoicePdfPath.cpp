#include "model/InvoicePdfPath.h"

QString InvoicePdfPath(const QString &invoicePath) {
  return invoicePath.chopped(qMin<qsizetype>(3, invoicePath.size())) + QStringLiteral("PDF");
}
