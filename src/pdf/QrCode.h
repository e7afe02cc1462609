#pragma once

#include <QByteArray>
#include <vector>

// A QR code symbol as a square of dark and light modules, without the quiet zone around it.
struct TQrCode {
  int Width = 0;
  // Row by row, Width * Width entries; true for a dark module.
  std::vector<bool> Modules;

  bool IsDark(int x, int y) const { return Modules[static_cast<size_t>(y) * Width + x]; }
};

// The symbol of the text (its bytes as they are) with error correction level M, as KSeF's
// verification codes use. Fails with a Polish message when the text does not fit a symbol.
TQrCode QrCodeOf(const QByteArray &text);
