#pragma once

#include <QString>

// The fields of a transfer file that more than one check names, by their path below
// CdtTrfTxInf or, outside a transaction, below CstmrCdtTrfInitn: a finding about the records
// and the schema's complaint about the same field are matched by these texts.
namespace Pain001Paths {

inline const QString PayeeAccount = QStringLiteral("CdtrAcct/Id/Othr/Id");
inline const QString PayeeBankCode = QStringLiteral("CdtrAgt/FinInstnId/ClrSysMmbId/MmbId");
inline const QString PayerAccount = QStringLiteral("PmtInf/DbtrAcct/Id/Othr/Id");
inline const QString PayerBankCode = QStringLiteral("PmtInf/DbtrAgt/FinInstnId/ClrSysMmbId/MmbId");

} // namespace Pain001Paths
