#include "checks/TransferChecks.h"

#include "checks/Identifiers.h"
#include "checks/Pain001Paths.h"
#include "iso20022/RemittanceInfo.h"
#include "model/PolishNumbers.h"

#include <QHash>
#include <algorithm>

namespace {

using Pain001Paths::PayeeAccount;
using Pain001Paths::PayeeBankCode;
using Pain001Paths::PayerAccount;
using Pain001Paths::PayerBankCode;

QString AccountProblemText(TAccountProblem problem) {
  return problem == TAccountProblem::CheckDigits
             ? QStringLiteral("ma błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy rachunek")
             : QStringLiteral("nie jest numerem IBAN ani polskim numerem rachunku z 26 cyfr");
}

// `sentence` takes the account for %1 and what is wrong with it for %2. The bank's sort code is
// cut from the account, so a wrong account explains a wrong sort code too.
void CheckAccount(QList<TTransferFinding> &findings, int transfer, const QString &sentence, const QString &account,
                  const QStringList &elements) {
  const TAccountProblem problem = AccountProblem(account);
  if (problem != TAccountProblem::None)
    findings.append({transfer, elements, sentence.arg(account, AccountProblemText(problem))});
}

bool IsTenDigits(const QString &text) {
  return text.size() == 10 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

QList<TTransferFinding> CheckPayer(const TCompanyData &payer) {
  QList<TTransferFinding> findings;
  CheckAccount(findings, TTransferFinding::NoTransfer,
               QStringLiteral("Rachunek płatnika „%1” (IBAN w settings.ini) %2."), payer.IBAN,
               {PayerAccount, PayerBankCode});
  // The payer's NIP is not written to the file, so the usual ways of writing it are fine.
  if (!IsValidNip(NipWithoutSeparators(payer.NIP)))
    findings.append({TTransferFinding::NoTransfer,
                     {},
                     QStringLiteral("NIP płatnika „%1” (settings.ini) nie jest poprawnym numerem NIP: 10 cyfr, z "
                                    "których ostatnia jest cyfrą kontrolną.")
                         .arg(payer.NIP)});
  if (!IsBicForm(payer.BIC))
    findings.append({TTransferFinding::NoTransfer,
                     {},
                     QStringLiteral("BIC płatnika „%1” (settings.ini) nie ma postaci kodu BIC (ISO 9362): 8 albo 11 "
                                    "wielkich liter i cyfr, w tym na miejscach 5 i 6 litery kraju.")
                         .arg(payer.BIC)});
  return findings;
}

QList<TTransferFinding> CheckPayments(const TPaymentList &payments) {
  QList<TTransferFinding> findings;
  if (payments.empty())
    findings.append({TTransferFinding::NoTransfer,
                     {QStringLiteral("PmtInf")},
                     QStringLiteral("Plik nie zawiera żadnego przelewu: bank nie przyjmie pustego pliku.")});
  // Where each invoice was paid first, by the payee's NIP and the invoice number.
  QHash<QString, int> firstPaid;
  for (int transfer = 0; transfer < int(payments.size()); ++transfer) {
    const TPayment &payment = payments[std::size_t(transfer)];
    CheckAccount(findings, transfer, QStringLiteral("rachunek odbiorcy „%1” %2."), payment.CreditorIBAN,
                 {PayeeAccount, PayeeBankCode});
    if (IsTenDigits(payment.CreditorNIP) && !IsValidNip(payment.CreditorNIP))
      findings.append(
          {transfer, {}, QStringLiteral("NIP odbiorcy %1 ma błędną cyfrę kontrolną.").arg(payment.CreditorNIP)});
    if (payment.Kind == TPaymentKind::VideoTel)
      continue;
    const QString invoice = payment.CreditorNIP + u'\n' + payment.InvoiceNumber;
    if (const auto first = firstPaid.constFind(invoice); first != firstPaid.constEnd())
      findings.append({transfer,
                       {},
                       QStringLiteral("ta sama faktura (ten sam NIP odbiorcy i numer) jest już w pliku jako "
                                      "przelew nr %1: bank zapłaci ją dwa razy.")
                           .arg(*first + 1)});
    else
      firstPaid.insert(invoice, transfer);
  }
  return findings;
}

QList<TTransferFinding> CheckSplitPayment(int transfer, const TPayment &invoice, const TMPPSettings &mpp) {
  QList<TTransferFinding> findings;
  if (invoice.SplitPayment && !mpp.Enabled)
    findings.append({transfer,
                     {},
                     QStringLiteral("faktura ma adnotację „mechanizm podzielonej płatności” (P_18A), a przelew jest "
                                    "bez MPP: taką fakturę trzeba zapłacić w mechanizmie podzielonej płatności.")});
  if (mpp.Enabled && !invoice.CurrencyCode.isEmpty() && invoice.CurrencyCode != QStringLiteral("PLN"))
    findings.append({transfer,
                     {},
                     QStringLiteral("przelew w mechanizmie podzielonej płatności jest w walucie %1, a MPP działa "
                                    "tylko dla przelewów w złotych (PLN).")
                         .arg(invoice.CurrencyCode)});
  if (mpp.Enabled && invoice.VATAmount > invoice.Amount)
    findings.append({transfer,
                     {},
                     QStringLiteral("kwota VAT %1 jest większa niż kwota przelewu %2: bank odrzuci taki przelew w "
                                    "mechanizmie podzielonej płatności.")
                         .arg(PolishAmount(invoice.VATAmount), PolishAmount(invoice.Amount))});
  return findings;
}

QList<TTransferFinding> CheckSplitPaymentFormat(const TMPPSettings &mpp) {
  if (!mpp.Enabled || mpp.Format != TMPPFormat::None)
    return {};
  return {{TTransferFinding::NoTransfer,
           {},
           QStringLiteral("przelewy w mechanizmie podzielonej płatności zapisano w formacie MPP None, bez informacji "
                          "o płatności (RmtInf): bank potrzebuje w przelewie MPP kwoty VAT i numeru faktury, więc "
                          "wybierz format Ustrd, Structured, Both albo Standard.")}};
}

QList<TTransferFinding> CheckStructuredReference(int transfer, const TPayment &payment, const TMPPSettings &mpp) {
  if (!mpp.Enabled || mpp.Format != TMPPFormat::Structured || !HasNoKsefReference(payment.nrKsef))
    return {};
  return {{transfer,
           {},
           QStringLiteral("faktura nie ma numeru KSeF, więc w polu RefNb struktury MPP jest w zamian numer faktury "
                          "„%1”.")
               .arg(payment.InvoiceNumber)}};
}
