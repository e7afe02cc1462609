#pragma once

#include <QString>

// A postal address split into the parts an ISO 20022 postal address carries.
struct TStructuredAddress {
  QString StrtNm;
  QString BldgNb;
  QString PstCd;
  QString TwnNm;
};

// Splits the two free-text address lines of an invoice into street, building number, postal
// code and town, by patterns tuned to Polish addresses. Never fails; applies no length limits.
TStructuredAddress ParseAddress(const QString &adresL1, const QString &adresL2);
