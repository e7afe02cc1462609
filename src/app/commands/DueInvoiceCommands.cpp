#include "app/commands/DueInvoiceCommands.h"

#include "app/commands/TransferJournal.h"
#include "journal/HistoryText.h"
#include "journal/PaymentJournal.h"
#include "model/Exception.h"
#include "model/KsefNumberForm.h"
#include "model/PolishNumbers.h"
#include "model/Text.h"

#include <set>

namespace {

// The invoice as the messages name it: its KSeF number, else its number and seller's NIP.
QString InvoiceName(const TDueInvoice &invoice) {
  if (const QString ksefNumber = Trim(invoice.Payment.nrKsef); IsKsefNumber(ksefNumber))
    return QStringLiteral("faktura %1 (KSeF %2)").arg(invoice.Payment.InvoiceNumber, ksefNumber);
  if (!invoice.Payment.InvoiceNumber.isEmpty())
    return QStringLiteral("faktura %1 (NIP %2)").arg(invoice.Payment.InvoiceNumber, invoice.Payment.CreditorNIP);
  return QStringLiteral("plik %1").arg(invoice.FileName);
}

QString CheckedKsefNumber(const QString &text) {
  const QString number = Trim(text);
  if (!IsKsefNumber(number))
    throw Exception(QStringLiteral("„%1” nie jest numerem KSeF.").arg(text));
  return number;
}

template <class Result>
Result ChangeJournal(const TAppPaths &paths, const std::function<Result(IPaymentJournal &)> &change) {
  const TJournalPlace place = TJournalPlace::Of(paths);
  try {
    return change(*place.Open());
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można zmienić historii (%1): %2").arg(place.Name(), error.Message()));
  }
}

QString TableLine(const QString &due, const QString &seller, const QString &nip, const QString &number,
                  const QString &ksefNumber, const QString &gross, const QString &toPay, const QString &currency,
                  const QString &status) {
  return TableColumn(due, 12) + u' ' + TableColumn(seller, 30) + u' ' + TableColumn(nip, 13) + u' ' +
         TableColumn(number, 20) + u' ' + TableColumn(ksefNumber, 35) + u' ' + gross.rightJustified(15) + u' ' +
         toPay.rightJustified(15) + u' ' + TableColumn(currency, 4) + u' ' + status;
}

} // namespace

QStringList DueWarnings(const std::vector<const TDueInvoice *> &invoices) {
  QStringList lines;
  for (const TDueInvoice *invoice : invoices)
    if (invoice->Status == TDueStatus::ToPay)
      for (const QString &warning : invoice->Warnings)
        lines.append(QStringLiteral("%1: %2.").arg(InvoiceName(*invoice), warning));
  return lines;
}

TTransferResult CreateDueTransfer(THost &host, const std::vector<TDueInvoice> &chosen, const TMPPSettings &mpp) {
  TPaymentList payments;
  std::vector<const TDueInvoice *> paid;
  QStringList leftOut;
  for (const TDueInvoice &invoice : chosen)
    if (invoice.Status == TDueStatus::ToPay) {
      payments.push_back(invoice.Payment);
      paid.push_back(&invoice);
    } else
      leftOut.append(QStringLiteral("Pominięto: %1, %2.").arg(InvoiceName(invoice), DueStatusText(invoice)));
  const auto logLeftOut = [&] {
    for (const QString &line : leftOut)
      host.Log.AppendWarning(line);
  };
  if (payments.empty()) {
    logLeftOut();
    host.Log.AppendError(QStringLiteral("Żadna z wybranych faktur nie jest do zapłaty: pliku przelewów nie zapisano."));
    return {};
  }
  TTransferResult result = TTransferCommands(host).CreateDueBatch(payments, mpp);
  // After the file's own lines, as every warning that does not stop a command.
  if (result.Written)
    leftOut += DueWarnings(paid);
  logLeftOut();
  result.Warnings += leftOut.size();
  return result;
}

std::vector<TDueInvoice> ChooseDueInvoices(const std::vector<TDueInvoice> &invoices, const QStringList &ksefNumbers,
                                           const std::optional<QDate> &dueUpTo, QStringList &unknown) {
  std::vector<TDueInvoice> chosen;
  if (ksefNumbers.isEmpty()) {
    const TDueFilter due{dueUpTo, std::nullopt, {}, {}};
    for (const TDueInvoice &invoice : invoices)
      if ((invoice.Status == TDueStatus::ToPay || invoice.Status == TDueStatus::NotPayable) &&
          DueFilterPasses(due, invoice))
        chosen.push_back(invoice);
    return chosen;
  }
  // A number given twice pays its invoice once.
  std::set<const TDueInvoice *> taken;
  for (const QString &number : ksefNumbers) {
    const auto found = std::find_if(invoices.begin(), invoices.end(), [&](const TDueInvoice &invoice) {
      return Trim(invoice.Payment.nrKsef) == Trim(number);
    });
    if (found == invoices.end())
      unknown.append(number);
    else if (taken.insert(&*found).second)
      chosen.push_back(*found);
  }
  return chosen;
}

QString MarkPaidOutside(const TAppPaths &paths, const QString &ksefNumber, const QString &note, const QDateTime &now) {
  const QString number = CheckedKsefNumber(ksefNumber);
  ChangeJournal<bool>(paths, [&](IPaymentJournal &journal) {
    journal.MarkPaidOutside(*InvoiceKey(number, {}, {}), now, Trim(note));
    return true;
  });
  return QStringLiteral("Fakturę KSeF %1 oznaczono jako zapłaconą poza programem (%2).")
      .arg(number, now.toString(QStringLiteral("yyyy-MM-dd")));
}

QString UndoPaidOutside(const TAppPaths &paths, const QString &ksefNumber) {
  const QString number = CheckedKsefNumber(ksefNumber);
  if (!ChangeJournal<bool>(
          paths, [&](IPaymentJournal &journal) { return journal.UnmarkPaidOutside(*InvoiceKey(number, {}, {})); }))
    throw Exception(QStringLiteral("Faktura KSeF %1 nie jest oznaczona jako zapłacona poza programem.").arg(number));
  return QStringLiteral("Cofnięto oznaczenie faktury KSeF %1 jako zapłaconej poza programem.").arg(number);
}

void WriteDueCsv(const std::vector<const TDueInvoice *> &invoices, const TByteSink &sink) {
  sink(CsvHeader(QStringLiteral("Termin;Sprzedawca;NIP;Numer faktury;Numer KSeF;Data wystawienia;Brutto;Do zapłaty;"
                                "Waluta;Rachunek;Status;Biała lista;Plik")
                     .split(u';')));
  for (const TDueInvoice *invoice : invoices) {
    const TPayment &payment = invoice->Payment;
    sink(CsvLine({DueDateText(*invoice), CsvText(payment.CreditorName), CsvText(payment.CreditorNIP),
                  CsvText(payment.InvoiceNumber), CsvText(Trim(payment.nrKsef)),
                  payment.InvoiceDate.date().toString(Qt::ISODate), CsvAmount(invoice->Gross),
                  CsvAmount(invoice->ToPay), CsvText(payment.CurrencyCode), CsvText(payment.CreditorIBAN),
                  CsvText(DueStatusText(*invoice)), CsvText(invoice->WhiteList), CsvText(invoice->FileName)}));
  }
}

void WriteDueTable(const std::vector<const TDueInvoice *> &invoices, const TByteSink &sink) {
  sink((TableLine(QStringLiteral("Termin"), QStringLiteral("Sprzedawca"), QStringLiteral("NIP"),
                  QStringLiteral("Numer faktury"), QStringLiteral("Numer KSeF"), QStringLiteral("Brutto"),
                  QStringLiteral("Do zapłaty"), QStringLiteral("Wal."), QStringLiteral("Status")) +
        u'\n')
           .toUtf8());
  std::vector<const TDueInvoice *> toPay;
  for (const TDueInvoice *invoice : invoices) {
    const TPayment &payment = invoice->Payment;
    sink((TableLine(DueDateText(*invoice), payment.CreditorName, payment.CreditorNIP, payment.InvoiceNumber,
                    Trim(payment.nrKsef), PolishAmount(invoice->Gross), PolishAmount(invoice->ToPay),
                    payment.CurrencyCode, DueStatusText(*invoice)) +
          u'\n')
             .toUtf8());
    if (invoice->Status == TDueStatus::ToPay)
      toPay.push_back(invoice);
  }
  sink((QStringLiteral("Do zapłaty: ") + HistorySumsText(DueSums(toPay)) + u'\n').toUtf8());
}
