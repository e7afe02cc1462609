// A whole VideoTel export as the loader reads it from disk: encoding, line ends, blank lines
// and every record.

#include "FuzzInput.h"
#include "model/Exception.h"
#include "videotel/VideoTelImport.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const TFuzzFile file(QStringLiteral("przelewy.imp"));
  static const QDateTime executionDate(QDate(2026, 3, 5), QTime(0, 0));
  file.Write(InputBytes(data, size));
  try {
    const TPaymentList payments = LoadVideoTelFile(file.Path(), executionDate);
    for (const TPayment &payment : payments)
      if (payment.ExecutionDate != executionDate)
        PropertyFailed("a payment lost its execution date");
  } catch (const Exception &) {
  }
  return 0;
}
