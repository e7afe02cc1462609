#include "app/commands/KsefPageSettings.h"

#include "settings/IniFile.h"

namespace {

const QString Section = QStringLiteral("KSeF");
const QString TokenName = QStringLiteral("token");
const QString CertificateName = QStringLiteral("certyfikat");

} // namespace

TKsefPageSettings TKsefPageSettings::Load(const QString &settingsFile) {
  const TIniFile ini(settingsFile);
  TKsefPageSettings settings;
  settings.Environment = ini.ReadString(Section, QStringLiteral("Srodowisko"), settings.Environment).toLower();
  settings.Method = ini.ReadString(Section, QStringLiteral("Logowanie")).toLower() == TokenName
                        ? TKsefLoginMethod::Token
                        : TKsefLoginMethod::Certificate;
  settings.Certificate = ini.ReadString(Section, QStringLiteral("Certyfikat"));
  settings.Key = ini.ReadString(Section, QStringLiteral("Klucz"));
  return settings;
}

void TKsefPageSettings::Save(const QString &settingsFile) const {
  TIniFile ini(settingsFile);
  ini.WriteString(Section, QStringLiteral("Srodowisko"), Environment);
  ini.WriteString(Section, QStringLiteral("Logowanie"),
                  Method == TKsefLoginMethod::Token ? TokenName : CertificateName);
  ini.WriteString(Section, QStringLiteral("Certyfikat"), Certificate);
  ini.WriteString(Section, QStringLiteral("Klucz"), Key);
  ini.Save();
}
