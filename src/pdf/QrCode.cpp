#include "pdf/QrCode.h"

#include "model/Exception.h"

#include <memory>
#include <qrencode.h>

TQrCode QrCodeOf(const QByteArray &text) {
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> symbol(
      QRcode_encodeString8bit(text.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
  if (!symbol)
    throw Exception(QStringLiteral("Nie można utworzyć kodu QR dla tekstu o długości %1 bajtów.").arg(text.size()));
  TQrCode code;
  code.Width = symbol->width;
  code.Modules.reserve(static_cast<size_t>(code.Width) * code.Width);
  // The lowest bit of each byte tells dark from light; the others describe the module's role.
  for (int i = 0; i < code.Width * code.Width; ++i)
    code.Modules.push_back(symbol->data[i] & 1);
  return code;
}
