#include "ksefapi/KsefAnswers.h"

#include "model/Exception.h"

#include <QRegularExpression>

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

namespace {

using TValue = rapidjson::Value;

// Thrown inside a reader; turned into the sentence naming the call.
struct TMalformed {};

const TValue &Parsed(rapidjson::Document &document, const QByteArray &json) {
  // Numbers are kept as their text: amounts are never doubles, and a huge number is no error.
  // Parsed without recursion: any depth of nesting costs no stack.
  document.Parse<rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseStopWhenDoneFlag |
                 rapidjson::kParseIterativeFlag>(json.constData(), std::size_t(json.size()));
  if (document.HasParseError())
    throw TMalformed();
  return document;
}

const TValue &Member(const TValue &object, const char *name) {
  if (!object.IsObject())
    throw TMalformed();
  const auto member = object.FindMember(name);
  if (member == object.MemberEnd())
    throw TMalformed();
  return member->value;
}

const TValue *OptionalMember(const TValue &object, const char *name) {
  if (!object.IsObject())
    throw TMalformed();
  const auto member = object.FindMember(name);
  return member == object.MemberEnd() || member->value.IsNull() ? nullptr : &member->value;
}

QString Text(const TValue &value, int maxLength) {
  if (!value.IsString() || int(value.GetStringLength()) > maxLength * 4)
    throw TMalformed();
  const QString text = QString::fromUtf8(value.GetString(), qsizetype(value.GetStringLength()));
  if (text.size() > maxLength)
    throw TMalformed();
  return text;
}

QString TextAt(const TValue &object, const char *name, int maxLength) { return Text(Member(object, name), maxLength); }

QString OptionalTextAt(const TValue &object, const char *name, int maxLength) {
  const TValue *value = OptionalMember(object, name);
  return value ? Text(*value, maxLength) : QString();
}

// A number kept as text by the parser (integers only).
qint64 IntegerAt(const TValue &object, const char *name, qint64 minimum, qint64 maximum) {
  const QString text = Text(Member(object, name), 20);
  bool ok = false;
  const qint64 number = text.toLongLong(&ok);
  if (!ok || number < minimum || number > maximum)
    throw TMalformed();
  return number;
}

bool BoolAt(const TValue &object, const char *name) {
  const TValue &value = Member(object, name);
  if (!value.IsBool())
    throw TMalformed();
  return value.GetBool();
}

QByteArray Base64At(const TValue &object, const char *name, int maxBytes, int exactBytes = -1) {
  const QByteArray text = TextAt(object, name, maxBytes * 4 / 3 + 4).toLatin1();
  const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded || decoded.decoded.isEmpty() || (exactBytes >= 0 && decoded.decoded.size() != exactBytes))
    throw TMalformed();
  return decoded.decoded;
}

const TValue &ArrayAt(const TValue &object, const char *name, unsigned maxItems) {
  const TValue &value = Member(object, name);
  if (!value.IsArray() || value.Size() > maxItems)
    throw TMalformed();
  return value;
}

QStringList Texts(const TValue *array, int maxLength) {
  QStringList texts;
  if (!array)
    return texts;
  if (!array->IsArray() || array->Size() > 50)
    throw TMalformed();
  for (const TValue &item : array->GetArray())
    texts << Text(item, maxLength);
  return texts;
}

// A JWT or a KSeF reference: ASCII, bounded.
QByteArray TokenAt(const TValue &object, const char *name) {
  const QString token = TextAt(object, name, 16384);
  for (const QChar c : token)
    if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
      throw TMalformed();
  if (token.isEmpty())
    throw TMalformed();
  return token.toLatin1();
}

QString ReferenceAt(const TValue &object, const char *name) {
  const QString reference = TextAt(object, name, 64);
  for (const QChar c : reference)
    if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-')
      throw TMalformed();
  if (reference.isEmpty())
    throw TMalformed();
  return reference;
}

TKsefStatus StatusAt(const TValue &object, const char *name) {
  const TValue &status = Member(object, name);
  return {int(IntegerAt(status, "code", 0, 999)), TextAt(status, "description", 500),
          Texts(OptionalMember(status, "details"), 500)};
}

// A moment as KSeF writes it ("2024-07-11T12:23:56.0154302+00:00"), kept to the millisecond.
QDateTime MomentAt(const TValue &object, const char *name) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)(?:\\.(\\d{1,9}))?(Z|[+-]\\d\\d:\\d\\d)$"));
  const QRegularExpressionMatch match = pattern.match(TextAt(object, name, 40));
  if (!match.hasMatch())
    throw TMalformed();
  const QDateTime seconds = QDateTime::fromString(match.captured(1) + match.captured(3), Qt::ISODate);
  if (!seconds.isValid())
    throw TMalformed();
  return seconds.addMSecs((match.captured(2) + QStringLiteral("00")).left(3).toInt()).toUTC();
}

template <typename Reader> auto Read(const QByteArray &json, const QString &what, Reader reader) {
  try {
    rapidjson::Document document;
    return reader(Parsed(document, json));
  } catch (const TMalformed &) {
    throw Exception(QStringLiteral("Odpowiedź KSeF na %1 jest nieczytelna; spróbuj ponownie później.").arg(what));
  }
}

} // namespace

QList<TKsefPublicKey> ReadPublicKeys(const QByteArray &json) {
  return Read(json, QStringLiteral("pytanie o klucze publiczne"), [](const TValue &root) {
    if (!root.IsArray() || root.Size() > 50)
      throw TMalformed();
    QList<TKsefPublicKey> keys;
    for (const TValue &item : root.GetArray())
      keys.append({Base64At(item, "certificate", 16384), OptionalTextAt(item, "publicKeyId", 100),
                   Texts(&ArrayAt(item, "usage", 10), 100), MomentAt(item, "validFrom"), MomentAt(item, "validTo")});
    return keys;
  });
}

TKsefChallenge ReadChallenge(const QByteArray &json) {
  return Read(json, QStringLiteral("prośbę o wyzwanie logowania"), [](const TValue &root) {
    return TKsefChallenge{ReferenceAt(root, "challenge"),
                          IntegerAt(root, "timestampMs", 0, std::numeric_limits<qint64>::max())};
  });
}

TKsefAuthStart ReadAuthStart(const QByteArray &json) {
  return Read(json, QStringLiteral("logowanie"), [](const TValue &root) {
    return TKsefAuthStart{ReferenceAt(root, "referenceNumber"), TokenAt(Member(root, "authenticationToken"), "token")};
  });
}

TKsefStatus ReadAuthStatus(const QByteArray &json) {
  return Read(json, QStringLiteral("pytanie o stan logowania"),
              [](const TValue &root) { return StatusAt(root, "status"); });
}

TKsefTokens ReadTokens(const QByteArray &json) {
  return Read(json, QStringLiteral("odbiór tokenów dostępu"), [](const TValue &root) {
    return TKsefTokens{TokenAt(Member(root, "accessToken"), "token"), TokenAt(Member(root, "refreshToken"), "token")};
  });
}

QByteArray ReadRefreshedAccessToken(const QByteArray &json) {
  return Read(json, QStringLiteral("odświeżenie tokenu dostępu"),
              [](const TValue &root) { return TokenAt(Member(root, "accessToken"), "token"); });
}

QString ReadExportReference(const QByteArray &json) {
  return Read(json, QStringLiteral("zlecenie eksportu faktur"),
              [](const TValue &root) { return ReferenceAt(root, "referenceNumber"); });
}

TKsefExportStatus ReadExportStatus(const QByteArray &json) {
  return Read(json, QStringLiteral("pytanie o stan eksportu faktur"), [](const TValue &root) {
    TKsefExportStatus status;
    status.Status = StatusAt(root, "status");
    const TValue *package = OptionalMember(root, "package");
    if (!package)
      return status;
    status.HasPackage = true;
    status.InvoiceCount = IntegerAt(*package, "invoiceCount", 0, 10000);
    status.Size = IntegerAt(*package, "size", 0, qint64(1) << 40);
    status.Truncated = BoolAt(*package, "isTruncated");
    status.LastPermanentStorageDate = OptionalTextAt(*package, "lastPermanentStorageDate", 40);
    status.PermanentStorageHwmDate = OptionalTextAt(*package, "permanentStorageHwmDate", 40);
    for (const TValue &item : ArrayAt(*package, "parts", 1000).GetArray()) {
      TKsefPackagePart part;
      part.OrdinalNumber = int(IntegerAt(item, "ordinalNumber", 1, 1000));
      // A part is only ever read: any other method from outside is refused, never sent.
      if (TextAt(item, "method", 10).toUpper() != QStringLiteral("GET"))
        throw TMalformed();
      part.Url = TextAt(item, "url", 8192);
      part.Size = IntegerAt(item, "partSize", 1, qint64(1) << 40);
      part.EncryptedSize = IntegerAt(item, "encryptedPartSize", 1, qint64(1) << 40);
      part.Hash = Base64At(item, "partHash", 32, 32);
      part.EncryptedHash = Base64At(item, "encryptedPartHash", 32, 32);
      status.Parts.append(part);
    }
    return status;
  });
}

TKsefErrorAnswer ReadErrorAnswer(const QByteArray &json) {
  TKsefErrorAnswer answer;
  try {
    rapidjson::Document document;
    const TValue &root = Parsed(document, json);
    if (const TValue *errors = OptionalMember(root, "errors"); errors && errors->IsArray() && errors->Size() <= 50) {
      for (const TValue &error : errors->GetArray()) {
        answer.Codes << int(IntegerAt(error, "code", 0, 999999));
        if (answer.Detail.isEmpty())
          answer.Detail = Texts(OptionalMember(error, "details"), 500).value(0);
      }
    }
    if (const TValue *exception = OptionalMember(root, "exception")) {
      const TValue &list = ArrayAt(*exception, "exceptionDetailList", 50);
      for (const TValue &error : list.GetArray()) {
        answer.Codes << int(IntegerAt(error, "exceptionCode", 0, 999999));
        if (answer.Detail.isEmpty())
          answer.Detail = Texts(OptionalMember(error, "details"), 500).value(0);
      }
    }
    answer.ReasonCode = OptionalTextAt(root, "reasonCode", 100);
  } catch (const TMalformed &) {
    // Whatever was read stands; the rest is not an answer of this kind.
  }
  return answer;
}

std::optional<QList<TKsefInvoiceMetadata>> ReadPackageMetadata(const QByteArray &json) {
  try {
    rapidjson::Document document;
    const TValue &root = Parsed(document, json);
    QList<TKsefInvoiceMetadata> invoices;
    for (const TValue &item : ArrayAt(root, "invoices", 100000).GetArray()) {
      TKsefInvoiceMetadata invoice;
      invoice.KsefNumber = TextAt(item, "ksefNumber", 40);
      invoice.InvoiceHash = Base64At(item, "invoiceHash", 32, 32);
      invoice.InvoiceNumber = OptionalTextAt(item, "invoiceNumber", 256);
      invoice.IssueDate = OptionalTextAt(item, "issueDate", 40);
      invoice.PermanentStorageDate = OptionalTextAt(item, "permanentStorageDate", 40);
      invoice.Currency = OptionalTextAt(item, "currency", 3);
      invoice.GrossAmount = OptionalTextAt(item, "grossAmount", 40);
      if (const TValue *seller = OptionalMember(item, "seller")) {
        invoice.SellerNip = OptionalTextAt(*seller, "nip", 20);
        invoice.SellerName = OptionalTextAt(*seller, "name", 512);
      }
      invoices.append(invoice);
    }
    return invoices;
  } catch (const TMalformed &) {
    return std::nullopt;
  }
}
