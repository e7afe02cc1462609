#include "checks/StandardTitleChecks.h"

#include "iso20022/StandardTitle.h"

namespace {

struct TNamedSegment {
  const TTitleSegment &Segment;
  QString Content;
  // The invoice number or the reference: texts of the invoice or the user, which may hold a
  // segment's code. A NIP or a real KSeF number never does.
  bool FreeText;
};

// The first code of the title's segments in the segment text `text`, which a bank reading the
// title would take for the start of that segment; empty when there is none. The slashes around
// the text count too, as the title has them there. A slash alone, as almost every Polish
// invoice number has, starts no segment.
QString SegmentCodeIn(const QString &text) {
  const QString inTitle = u'/' + text + u'/';
  for (const QString &code :
       {QStringLiteral("/VAT/"), QStringLiteral("/IDC/"), QStringLiteral("/INV/"), QStringLiteral("/TXT/")})
    if (inTitle.contains(code))
      return code;
  return QString();
}

} // namespace

QList<TTransferFinding> CheckStandardTitle(int transfer, const TPayment &payment, const QString &additionalReference,
                                           const TMPPSettings &mpp) {
  QList<TTransferFinding> findings;
  if (!mpp.Enabled || mpp.Format != TMPPFormat::Standard)
    return findings;
  const TStandardTitle title =
      StandardTitle(payment.VATAmount, payment.CreditorNIP, payment.nrKsef, payment.InvoiceNumber, additionalReference);
  const QString invoiceNumber = QStringLiteral("numer faktury");
  const TNamedSegment segments[] = {
      {title.IDC, QStringLiteral("NIP odbiorcy"), false},
      {title.INV, title.QuotesKsefNumber ? QStringLiteral("numer KSeF") : invoiceNumber, !title.QuotesKsefNumber},
      {title.TXT, title.QuotesKsefNumber ? invoiceNumber : QStringLiteral("dodatkowa referencja"), true},
  };

  if (!title.QuotesKsefNumber)
    findings.append({transfer,
                     {},
                     QStringLiteral("tytuł przelewu MPP nie zawiera numeru KSeF faktury: ani SystemInfo faktury, ani "
                                    "nazwa jej pliku nie podają prawidłowego numeru KSeF, więc w segmencie /INV/ jest "
                                    "numer faktury. Zapłata za fakturę wystawioną w KSeF powinna podawać jej numer "
                                    "KSeF.")});
  for (const TNamedSegment &named : segments)
    if (!named.Segment.Lost().isEmpty())
      findings.append(
          {transfer,
           {},
           QStringLiteral("segment %1 tytułu przelewu (%2) jest dłuższy niż %3: w pliku pominięto „%4”.")
               .arg(named.Segment.Code, named.Content, CharacterCount(named.Segment.Width), named.Segment.Lost())});
  for (const TNamedSegment &named : segments) {
    const QString code = named.FreeText ? SegmentCodeIn(named.Segment.Written()) : QString();
    if (!code.isEmpty())
      findings.append({transfer,
                       {},
                       QStringLiteral("%1 „%2” w segmencie %3 tytułu przelewu zawiera „%4”: bank może to odczytać "
                                      "jako początek kolejnego segmentu i źle odczytać przelew MPP.")
                           .arg(named.Content, named.Segment.Written(), named.Segment.Code, code)});
  }
  return findings;
}
