#pragma once

#include <QByteArray>
#include <QString>

// How a text file on disk is encoded. Files written by the Windows program are windows-1250
// or carry a byte-order mark; files made on Linux are usually UTF-8 without one.
enum class TTextEncoding { Windows1250, Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct TDecodedText {
  QString Text;
  TTextEncoding Encoding = TTextEncoding::Windows1250;
};

// A byte-order mark decides first. Without one, bytes that hold non-ASCII characters and are
// valid UTF-8 are read as UTF-8, unless all of those characters are pairs of Polish letters
// in windows-1250 that happen to form UTF-8 ("SPÓŁKA"); everything else as windows-1250.
TDecodedText DecodeText(const QByteArray &bytes);

// The text in the given encoding, with its byte-order mark where the encoding has one.
QByteArray EncodeText(const QString &text, TTextEncoding encoding);

// The text in the preferred encoding when DecodeText reads those bytes back as the same text.
// Otherwise UTF-8, which holds every character, with a byte-order mark where the bytes alone
// would not read back either. A character windows-1250 lacks needs it, and so does text whose
// windows-1250 bytes happen to be valid UTF-8 ("SPÓŁKA": Ó and Ł make a two-byte sequence),
// which would be read back as other letters.
QByteArray EncodeReadably(const QString &text, TTextEncoding preferred);
