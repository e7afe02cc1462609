#include "iso20022/Pain001Writer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

TPaymentList Payments(qint64 count) {
  TPaymentList payments;
  payments.reserve(count);
  for (qint64 i = 0; i < count; ++i) {
    TPayment payment;
    payment.InvoiceNumber = QStringLiteral("FV/%1/2024").arg(i);
    payment.CreditorName = QStringLiteral("Hurtownia Żywności nr %1 Sp. z o.o.").arg(i);
    payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
    payment.Amount = TAmount::FromUnits(1000000 + i);
    payment.CreditorNIP = QStringLiteral("5265877635");
    payment.CreditorCountry = QStringLiteral("PL");
    payment.CreditorStrtNm = QStringLiteral("ul. Piotrkowska");
    payment.CreditorBldgNb = QString::number(i % 300 + 1);
    payment.CreditorPstCd = QStringLiteral("90-001");
    payment.CreditorTwnNm = QStringLiteral("Łódź");
    payment.VATAmount = TAmount::FromUnits(230000);
    payment.nrKsef = QStringLiteral("5265877635-20240315-%1-AB").arg(i, 12, 16, QLatin1Char('0'));
    payments.push_back(payment);
  }
  return payments;
}

// The whole multi-payment document for the given number of payments, with the richest
// remittance block (split payment, both encodings).
void BM_Pain001Writer(benchmark::State &state) {
  QTemporaryDir dir;
  const TPaymentList payments = Payments(state.range(0));
  const TCompanyData company{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                             QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};
  const QDateTime now(QDate(2024, 3, 15), QTime(12, 0));
  const QString fileName = dir.filePath(QStringLiteral("Pain001Paczka_MPP.xml"));
  for (auto _ : state)
    TPain001Writer::Generate(payments, company, TMPPSettings{true, mfBoth}, fileName, now);
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Pain001Writer)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
