// The postal address splitter gets the two free-text address lines of an invoice: the input
// up to its first line feed is the first line, the rest the second.

#include "FuzzInput.h"
#include "model/StructuredAddress.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const QRegularExpression postalCode(QStringLiteral("^[0-9]{2}-[0-9]{3}$"));
  const QString text = InputText(data, size);
  const qsizetype split = text.indexOf(u'\n');
  const QString line1 = split < 0 ? text : text.left(split);
  const QString line2 = split < 0 ? QString() : text.mid(split + 1);
  const TStructuredAddress address = ParseAddress(line1, line2);
  if (!address.PstCd.isEmpty() && !postalCode.match(address.PstCd).hasMatch())
    PropertyFailed("the postal code is not of the form 00-000");
  if (address.StrtNm.size() + address.BldgNb.size() + address.PstCd.size() + address.TwnNm.size() >
      line1.size() + line2.size())
    PropertyFailed("the address parts hold more characters than the two lines");
  return 0;
}
