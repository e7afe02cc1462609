#include "model/StructuredAddress.h"

#include "model/Text.h"

#include <QRegularExpression>

namespace {

// Perl-compatible patterns; the three anchored ones must match a whole (trimmed) line. The part
// before the blanks is written "(.*\S)" rather than "(.+?)", and the blanks after the postal
// code are taken whole ("\s++"): a line splits exactly as with the plain forms once the parts
// are trimmed, but the lazy form tried every blank of a long run against every later one, and
// an invoice address of 200,000 blanks kept the splitter busy for 20 seconds.
const QRegularExpression PostalCodeSearch(QStringLiteral("\\d{2}-\\d{3}"));
const QRegularExpression CodeFirstTownLine(QStringLiteral("^(\\d{2}-\\d{3})\\s++(.+)$"));
const QRegularExpression CodeLastTownLine(QStringLiteral("^(.*\\S)\\s+(\\d{2}-\\d{3})$"));
const QRegularExpression StreetLine(QStringLiteral("^(.*\\S)\\s+([0-9]+[A-Za-z]?([/-][0-9A-Za-z]+)?)$"));

} // namespace

TStructuredAddress ParseAddress(const QString &adresL1, const QString &adresL2) {
  TStructuredAddress address;
  const QString line1 = Trim(adresL1);
  const QString line2 = Trim(adresL2);

  const bool codeInLine1 = PostalCodeSearch.match(line1).hasMatch();
  const QString townLine = codeInLine1 ? line1 : line2;
  const QString streetLine = codeInLine1 ? line2 : line1;

  if (const QRegularExpressionMatch m = CodeFirstTownLine.match(townLine); m.hasMatch()) {
    address.PstCd = Trim(m.captured(1));
    address.TwnNm = Trim(m.captured(2));
  } else if (const QRegularExpressionMatch m = CodeLastTownLine.match(townLine); m.hasMatch()) {
    address.TwnNm = Trim(m.captured(1));
    address.PstCd = Trim(m.captured(2));
  } else {
    address.TwnNm = townLine;
  }

  if (const QRegularExpressionMatch m = StreetLine.match(streetLine); m.hasMatch()) {
    address.StrtNm = Trim(m.captured(1));
    address.BldgNb = Trim(m.captured(2));
  } else {
    address.StrtNm = streetLine;
  }
  return address;
}
