#pragma once

#include "model/Types.h"

#include <QString>

// The payer data and the split-payment choice in settings.ini, and the postal address
// splitter. Every operation opens the file, does its work and closes it again.
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

  // Splits the two free-text address lines of an invoice into street, building number,
  // postal code and town. Never fails.
  static TStructuredAddress ParseAddress(const QString &adresL1, const QString &adresL2);

private:
  static bool StringToFlag(const QString &text, bool defaultValue);
};
