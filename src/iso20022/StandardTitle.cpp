#include "iso20022/StandardTitle.h"

#include "model/KsefNumberForm.h"
#include "model/Text.h"

#include <algorithm>

namespace {

// What the banks read in each segment: "/VAT/10n,2n/IDC/14x/INV/35x/TXT/33x".
constexpr qsizetype IDCWidth = 14;
constexpr qsizetype INVWidth = 35;
constexpr qsizetype TXTWidth = 33;
constexpr qsizetype CodeLength = 5;
// "-922337203685477.58", the widest amount there is; a VAT amount is never cut.
constexpr qsizetype WidestAmount = 19;
// An unstructured remittance text (Ustrd) holds at most 140 characters, so the segments' limits
// alone keep the title whole.
static_assert(4 * CodeLength + WidestAmount + IDCWidth + INVWidth + TXTWidth <= 140);

constexpr qsizetype CurrentKsefNumberLength = 35;

bool IsDigits(const QString &text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QString NipDigits(const QString &nip) {
  QString compact;
  for (const QChar c : nip)
    if (c > u' ' && c != u'-')
      compact.append(c);
  if (compact.size() == 12 && compact.startsWith(QStringLiteral("PL"), Qt::CaseInsensitive) && IsDigits(compact.mid(2)))
    return compact.mid(2);
  return compact;
}

} // namespace

QString TStandardTitle::Text() const {
  return QStringLiteral("/VAT/") + VAT + IDC.Code + IDC.Written() + INV.Code + INV.Written() + TXT.Code + TXT.Written();
}

TStandardTitle StandardTitle(TAmount vatAmount, const QString &creditorNIP, const QString &ksefNumber,
                             const QString &invoiceNumber, const QString &additionalReference) {
  const QString ksef = Trim(ksefNumber);
  const bool quotesKsefNumber = ksef.size() == CurrentKsefNumberLength && IsKsefNumber(ksef);
  return TStandardTitle{
      .VAT = FormatAmount(vatAmount).replace(u'.', u','),
      .IDC = {QStringLiteral("/IDC/"), IDCWidth, NipDigits(creditorNIP)},
      .INV = {QStringLiteral("/INV/"), INVWidth, quotesKsefNumber ? ksef : invoiceNumber},
      .TXT = {QStringLiteral("/TXT/"), TXTWidth, quotesKsefNumber ? invoiceNumber : additionalReference},
      .QuotesKsefNumber = quotesKsefNumber,
  };
}
