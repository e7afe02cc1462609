#include "BenchPayments.h"

TPaymentList BenchPayments(qint64 count) {
  TPaymentList payments;
  payments.reserve(count);
  for (qint64 i = 0; i < count; ++i) {
    TPayment payment;
    payment.InvoiceNumber = QStringLiteral("FV/%1/2026").arg(i);
    payment.CreditorName = QStringLiteral("Hurtownia Żywności nr %1 Sp. z o.o.").arg(i);
    payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
    payment.Amount = TAmount::FromUnits(1000000 + i);
    payment.CreditorNIP = QStringLiteral("5261040828");
    payment.CreditorCountry = QStringLiteral("PL");
    payment.CreditorStrtNm = QStringLiteral("ul. Piotrkowska");
    payment.CreditorBldgNb = QString::number(i % 300 + 1);
    payment.CreditorPstCd = QStringLiteral("90-001");
    payment.CreditorTwnNm = QStringLiteral("Łódź");
    payment.VATAmount = TAmount::FromUnits(230000);
    payment.nrKsef = QStringLiteral("5261040828-20260305-%1-AB").arg(i, 12, 16, QLatin1Char('0'));
    payments.push_back(payment);
  }
  return payments;
}
