#include "settings/Settings.h"

#include "model/Text.h"
#include "settings/IniFile.h"

#include <QRegularExpression>

namespace {

const QString CompanySection = QStringLiteral("COMPANY");
const QString MPPSection = QStringLiteral("MPP");

struct TFormatName {
  TMPPFormat Format;
  const char16_t *Name;
};

constexpr TFormatName FormatNames[] = {{TMPPFormat::None, u"None"},
                                       {TMPPFormat::Ustrd, u"Ustrd"},
                                       {TMPPFormat::Structured, u"Structured"},
                                       {TMPPFormat::Both, u"Both"},
                                       {TMPPFormat::Standard, u"Standard"}};

} // namespace

TCompanyData TSettings::LoadCompany(const QString &fileName) {
  const TIniFile ini(fileName);
  TCompanyData company;
  company.Name = ini.ReadString(CompanySection, QStringLiteral("Name"));
  company.IBAN = ini.ReadString(CompanySection, QStringLiteral("IBAN"));
  company.BIC = ini.ReadString(CompanySection, QStringLiteral("BIC"));
  company.NIP = ini.ReadString(CompanySection, QStringLiteral("NIP"));
  return company;
}

void TSettings::SaveCompany(const QString &fileName, const TCompanyData &company) {
  TIniFile ini(fileName);
  ini.WriteString(CompanySection, QStringLiteral("NIP"), company.NIP);
  ini.WriteString(CompanySection, QStringLiteral("Name"), company.Name);
  ini.WriteString(CompanySection, QStringLiteral("IBAN"), company.IBAN);
  ini.WriteString(CompanySection, QStringLiteral("BIC"), company.BIC);
  ini.Save();
}

TMPPSettings TSettings::LoadMPP(const QString &fileName) {
  const TIniFile ini(fileName);
  TMPPSettings mpp;
  mpp.Enabled = StringToFlag(ini.ReadString(MPPSection, QStringLiteral("Enabled")), false);
  mpp.Format = StringToMPPFormat(ini.ReadString(MPPSection, QStringLiteral("Format"), QStringLiteral("None")));
  return mpp;
}

void TSettings::SaveMPP(const QString &fileName, const TMPPSettings &mpp) {
  TIniFile ini(fileName);
  ini.WriteString(MPPSection, QStringLiteral("Enabled"), mpp.Enabled ? QStringLiteral("1") : QStringLiteral("0"));
  ini.WriteString(MPPSection, QStringLiteral("Format"), MPPFormatToString(mpp.Format));
  ini.Save();
}

QString TSettings::MPPFormatToString(TMPPFormat format) {
  for (const TFormatName &entry : FormatNames)
    if (entry.Format == format)
      return QString::fromUtf16(entry.Name);
  return QStringLiteral("None");
}

TMPPFormat TSettings::StringToMPPFormat(const QString &text) {
  const QString trimmed = Trim(text);
  for (const TFormatName &entry : FormatNames)
    if (trimmed.compare(QString::fromUtf16(entry.Name), Qt::CaseInsensitive) == 0)
      return entry.Format;
  return TMPPFormat::None;
}

// An integer in decimal, or in hexadecimal after "0x" or "$", that fits 32 bits; other than 0
// is on. Text that is no such integer gives the default.
bool TSettings::StringToFlag(const QString &text, bool defaultValue) {
  static const QRegularExpression integer(QStringLiteral("^([+-]?)(?:([0-9]+)|(?:0[xX]|\\$)([0-9A-Fa-f]+))$"));
  const QRegularExpressionMatch match = integer.match(text);
  if (!match.hasMatch())
    return defaultValue;
  const bool hex = match.capturedLength(3) > 0;
  bool ok = false;
  const qulonglong value = match.captured(hex ? 3 : 2).toULongLong(&ok, hex ? 16 : 10);
  const qulonglong limit = hex ? 0xFFFFFFFFull : (match.captured(1) == u'-' ? 0x80000000ull : 0x7FFFFFFFull);
  if (!ok || value > limit)
    return defaultValue;
  return value != 0;
}
