#pragma once

#include <QString>

// The payer: the user's own company.
struct TCompanyData {
  QString Name;
  QString NIP;
  QString IBAN;
  QString BIC;
};

// Which split-payment remittance encoding a document carries. Standard is the title in the
// form the banks' own transfer forms use.
enum class TMPPFormat { None, Ustrd, Structured, Both, Standard };

struct TMPPSettings {
  bool Enabled = false;
  TMPPFormat Format = TMPPFormat::None;
};
