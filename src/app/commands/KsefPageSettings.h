#pragma once

#include <QString>

// How the page "KSeF" logs in.
enum class TKsefLoginMethod { Certificate, Token };

// The choices of the page "KSeF" kept in settings.ini's [KSeF]: Srodowisko= (testowe, demo,
// produkcyjne), Logowanie= (certyfikat, token), and the paths Certyfikat= and Klucz= (empty
// when the certificate is a PKCS#12 file). Never a secret: those go to the keyring or nowhere.
struct TKsefPageSettings {
  QString Environment = QStringLiteral("produkcyjne");
  TKsefLoginMethod Method = TKsefLoginMethod::Certificate;
  QString Certificate;
  QString Key;

  static TKsefPageSettings Load(const QString &settingsFile);
  void Save(const QString &settingsFile) const;
};
