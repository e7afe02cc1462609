#pragma once

#include "model/Types.h"

#include <QString>

// The payer data and the split-payment choice in settings.ini. Every operation opens the file,
// does its work and closes it again.
class TSettings {
public:
  TSettings() = delete;

  // A missing file, section or key gives empty fields; reading never fails.
  static TCompanyData LoadCompany(const QString &fileName);
  // Fails with "Unable to write to <path>".
  static void SaveCompany(const QString &fileName, const TCompanyData &company);

  static TMPPSettings LoadMPP(const QString &fileName);
  static void SaveMPP(const QString &fileName, const TMPPSettings &mpp);

  static QString MPPFormatToString(TMPPFormat format);
  // Trimmed and compared ignoring ASCII case; an unknown text gives TMPPFormat::None.
  static TMPPFormat StringToMPPFormat(const QString &text);

private:
  static bool StringToFlag(const QString &text, bool defaultValue);
};
