// One line of a VideoTel export, decoded as the loader decodes the file: split into fields,
// read as a payment order and turned into a payment.

#include "FuzzInput.h"
#include "model/Exception.h"
#include "model/TextCodec.h"
#include "videotel/VideoTelImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QString line = DecodeText(InputBytes(data, size)).Text;
  const QStringList fields = SplitVideoTelLine(line);
  qsizetype fieldCharacters = 0;
  for (const QString &field : fields)
    fieldCharacters += field.size();
  // Separators and quotation marks are dropped, never invented.
  if (fieldCharacters > line.size())
    PropertyFailed("the fields hold more characters than the line");
  try {
    const TPayment payment = VideoTelToPayment(ParseVideoTelRecord(line));
    if (payment.InvoiceNumber.size() > 140 || payment.CreditorTwnNm.size() > 35)
      PropertyFailed("a payment text is longer than its field");
  } catch (const Exception &) {
  }
  return 0;
}
