#include "model/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);
const QByteArray Utf16LEBom("\xFF\xFE", 2);
const QByteArray Utf16BEBom("\xFE\xFF", 2);

bool IsAscii(const QByteArray &bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  return true;
}

// In windows-1250 the capitals Ć Ę Ń Ó are lead bytes of UTF-8 and the letters Ą Ł Ś Ź Ż ą ł ś ź ż
// are continuation bytes, so text such as "SPÓŁKA" or "CZĘŚCI" is valid UTF-8 by accident. A
// file whose every byte beyond ASCII belongs to such a pair is taken for windows-1250: real
// UTF-8 writes Polish letters with other lead bytes, and no real text is made of these pairs alone.
bool OnlyPolishLetterPairs(const QByteArray &bytes) {
  const auto isLead = [](unsigned char c) { return c == 0xC6 || c == 0xCA || c == 0xD1 || c == 0xD3; };
  const auto isTrail = [](unsigned char c) {
    return c == 0xA5 || c == 0xA3 || c == 0x8C || c == 0x8F || c == 0xAF || c == 0xB9 || c == 0xB3 || c == 0x9C ||
           c == 0x9F || c == 0xBF;
  };
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80)
      continue;
    if (!isLead(c) || i + 1 == bytes.size() || !isTrail(static_cast<unsigned char>(bytes[i + 1])))
      return false;
    ++i;
  }
  return true;
}

// The byte-order mark is dealt with before; a U+FEFF after it is a character of the text.
constexpr QStringConverter::Flags CodecFlags =
    QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

QString DecodeWith(const char *codec, QByteArrayView bytes, bool *valid = nullptr) {
  QStringDecoder decoder(codec, CodecFlags);
  QString text = decoder.decode(bytes);
  if (valid)
    *valid = !decoder.hasError();
  return text;
}

QByteArray EncodeWith(const char *codec, const QString &text) {
  QStringEncoder encoder(codec, CodecFlags);
  return encoder.encode(text);
}

const char *CodecName(TTextEncoding encoding) {
  switch (encoding) {
  case TTextEncoding::Windows1250: return "windows-1250";
  case TTextEncoding::Utf16LE: return "UTF-16LE";
  case TTextEncoding::Utf16BE: return "UTF-16BE";
  case TTextEncoding::Utf8:
  case TTextEncoding::Utf8Bom: break;
  }
  return "UTF-8";
}

QByteArray Bom(TTextEncoding encoding) {
  switch (encoding) {
  case TTextEncoding::Utf8Bom: return Utf8Bom;
  case TTextEncoding::Utf16LE: return Utf16LEBom;
  case TTextEncoding::Utf16BE: return Utf16BEBom;
  case TTextEncoding::Windows1250:
  case TTextEncoding::Utf8: break;
  }
  return {};
}

} // namespace

TDecodedText DecodeText(const QByteArray &bytes) {
  const QByteArrayView view(bytes);
  if (bytes.startsWith(Utf8Bom))
    return {DecodeWith("UTF-8", view.sliced(3)), TTextEncoding::Utf8Bom};
  if (bytes.startsWith(Utf16LEBom))
    return {DecodeWith("UTF-16LE", view.sliced(2)), TTextEncoding::Utf16LE};
  if (bytes.startsWith(Utf16BEBom))
    return {DecodeWith("UTF-16BE", view.sliced(2)), TTextEncoding::Utf16BE};
  if (!IsAscii(bytes) && !OnlyPolishLetterPairs(bytes)) {
    bool valid = false;
    QString text = DecodeWith("UTF-8", view, &valid);
    if (valid)
      return {text, TTextEncoding::Utf8};
  }
  return {DecodeWith("windows-1250", view), TTextEncoding::Windows1250};
}

QByteArray EncodeText(const QString &text, TTextEncoding encoding) {
  return Bom(encoding) + EncodeWith(CodecName(encoding), text);
}

QByteArray EncodeReadably(const QString &text, TTextEncoding preferred) {
  for (TTextEncoding encoding : {preferred, TTextEncoding::Utf8}) {
    QByteArray bytes = EncodeText(text, encoding);
    if (DecodeText(bytes).Text == text)
      return bytes;
  }
  return EncodeText(text, TTextEncoding::Utf8Bom);
}
