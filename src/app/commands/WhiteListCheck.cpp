#include "app/commands/WhiteListCheck.h"

#include "checks/Identifiers.h"
#include "checks/TransferFinding.h"
#include "model/Exception.h"
#include "model/PolishNumbers.h"
#include "model/ParallelLoop.h"
#include "whitelist/WhiteListStore.h"

#include <algorithm>

namespace {

// Above this a payment to an account off the list costs the payer the deduction and makes it
// liable for the payee's VAT.
const TAmount LiabilityThreshold = TAmount::FromUnits(15000 * TAmount::UnitsPerOne);

QString DayText(QDate day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

bool IsDigits(const QString &text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString AccountWithoutSeparators(QString account) { return account.remove(u' ').remove(u'-'); }

QString WithoutCountryCode(const QString &number) {
  return number.startsWith(QStringLiteral("PL"), Qt::CaseInsensitive) ? number.mid(2) : number;
}

// A payment the list can say something about: a NIP, and a Polish account (its IBAN or its 26
// digits). No NIP or a foreign account is none of its business.
bool ConcernsList(const TPayment &payment) {
  const QString account = AccountWithoutSeparators(payment.CreditorIBAN);
  return !NipWithoutSeparators(payment.CreditorNIP).isEmpty() &&
         (account.startsWith(QStringLiteral("PL"), Qt::CaseInsensitive) ||
          (!account.isEmpty() && account[0].isDigit()));
}

QString NotListedText(const TPayment &payment, const TWhiteListPair &pair, QDate dataDay) {
  QString text = QStringLiteral("%1: rachunek %2 odbiorcy o NIP %3 nie figuruje w wykazie podatników VAT (biała lista, "
                                "dane z dnia %4).")
                     .arg(TransferName(payment), pair.Account, pair.Nip, DayText(dataDay));
  if (payment.Amount > LiabilityThreshold)
    text += QStringLiteral(" Kwota %1 PLN przekracza 15 000 zł: bez zawiadomienia urzędu skarbowego na formularzu "
                           "ZAW-NR w ciągu 7 dni od zlecenia przelewu wydatku nie można zaliczyć do kosztów uzyskania "
                           "przychodu, a płacący odpowiada solidarnie z odbiorcą za jego zaległy VAT.")
                .arg(PolishAmount(payment.Amount));
  return text;
}

} // namespace

std::optional<TWhiteListPair> WhiteListPair(const QString &nip, const QString &account) {
  if (!WhiteListPairProblem(nip, account).isEmpty())
    return std::nullopt;
  return TWhiteListPair{WithoutCountryCode(NipWithoutSeparators(nip)),
                        WithoutCountryCode(AccountWithoutSeparators(account))};
}

QString WhiteListPairProblem(const QString &nip, const QString &account) {
  QStringList problems;
  const QString payeeNip = WithoutCountryCode(NipWithoutSeparators(nip));
  if (payeeNip.size() != 10 || !IsDigits(payeeNip))
    problems.append(QStringLiteral("NIP „%1” ma błędną postać: NIP to 10 cyfr (z PL na początku albo bez)").arg(nip));
  else if (!IsValidNip(payeeNip))
    problems.append(QStringLiteral("NIP „%1” ma błędną cyfrę kontrolną").arg(nip));
  const QString digits = WithoutCountryCode(AccountWithoutSeparators(account));
  if (digits.size() != 26 || !IsDigits(digits))
    problems.append(QStringLiteral("numer rachunku „%1” ma błędną postać: rachunek to 26 cyfr numeru NRB (z PL na "
                                   "początku albo bez)")
                        .arg(account));
  else if (AccountProblem(QStringLiteral("PL") + digits) != TAccountProblem::None)
    problems.append(QStringLiteral("numer rachunku „%1” ma błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka "
                                   "albo cudzy rachunek")
                        .arg(account));
  return problems.join(QStringLiteral(", a "));
}

TWhiteListReport CheckWhiteList(const TPaymentList &payments, bool inPLN, TPayeeNips nips, QDate day,
                                const QString &directory) {
  TWhiteListReport report;
  report.Results.resize(payments.size());
  const TWhiteListStore store(directory);
  const QList<QDate> days = store.Days();
  if (days.isEmpty()) {
    report.Lines.append(
        {false, QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą podatników VAT: nie "
                               "wczytano jeszcze pliku płaskiego (przycisk „Wczytaj plik płaski…” na "
                               "stronie „Funkcje techniczne” albo pavena-cli biala-lista wczytaj PLIK).")});
    return report;
  }
  if (!inPLN)
    return report;
  if (nips == TPayeeNips::Unnamed) {
    report.Lines.append({true, QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą podatników VAT: plik "
                                              "w formacie VideoTel nie podaje NIP odbiorców, a wykaz zna rachunek "
                                              "tylko razem z NIP jego właściciela (jeden rachunek sprawdza "
                                              "pavena-cli biala-lista sprawdz NIP RACHUNEK).")});
    return report;
  }
  const std::optional<QDate> dataDay = store.NewestUpTo(day);
  if (!dataDay) {
    report.Lines.append({true, QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą podatników VAT: brak "
                                              "pliku płaskiego z dnia %1 ani wcześniejszego (najstarszy wczytany jest "
                                              "z dnia %2).")
                                   .arg(DayText(day), DayText(days.first()))});
    return report;
  }
  if (*dataDay != day)
    report.Lines.append({true, QStringLiteral("Brak pliku płaskiego białej listy z dnia %1: rachunki sprawdzono według "
                                              "najnowszego wcześniejszego, z dnia %2.")
                                   .arg(DayText(day), DayText(*dataDay))});

  std::vector<std::optional<TWhiteListPair>> pairs(payments.size());
  for (std::size_t i = 0; i < payments.size(); ++i) {
    const TPayment &payment = payments[i];
    if (!ConcernsList(payment))
      continue;
    pairs[i] = WhiteListPair(payment.CreditorNIP, payment.CreditorIBAN);
    if (!pairs[i])
      report.Lines.append(
          {false, QStringLiteral("%1: rachunku nie sprawdzono z białą listą, bo %2.")
                      .arg(TransferName(payment), WhiteListPairProblem(payment.CreditorNIP, payment.CreditorIBAN))});
  }
  try {
    const TWhiteListIndex index(store.IndexFile(*dataDay));
    // Thousands of rounds of SHA-512 per account: the accounts are spread over the cores.
    RunInParallel(qsizetype(payments.size()), ParallelWorkers(qsizetype(payments.size())), [&](int, qsizetype i) {
      if (const auto &pair = pairs[std::size_t(i)])
        report.Results[std::size_t(i)] = index.Find(pair->Nip, pair->Account);
    });
  } catch (const std::exception &error) {
    report.Results.assign(payments.size(), std::nullopt);
    report.Lines.append({true, QStringLiteral("Nie udało się sprawdzić rachunków z białą listą podatników VAT (%1).")
                                   .arg(ErrorMessage(error))});
    return report;
  }

  qsizetype checked = 0;
  bool allListed = true;
  for (std::size_t i = 0; i < payments.size(); ++i) {
    if (!report.Results[i])
      continue;
    ++checked;
    if (*report.Results[i] == TWhiteListStatus::NotFound) {
      allListed = false;
      report.Lines.append({true, NotListedText(payments[i], *pairs[i], *dataDay)});
    }
  }
  if (allListed && checked > 0)
    report.Lines.append({false, QStringLiteral("Biała lista podatników VAT (dane z dnia %1): wszystkie sprawdzone "
                                               "rachunki figurują w wykazie (sprawdzono: %2).")
                                    .arg(DayText(*dataDay))
                                    .arg(checked)});
  return report;
}
