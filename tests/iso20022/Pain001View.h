#pragma once

#include "xml/XmlDocument.h"

#include <QList>
#include <QString>
#include <QStringList>

// A written transfer file read back for assertions. A path names elements below
// CstmrCdtTrfInitn joined by "/", each an exact local name or "*" for any, optionally with a
// position among its namesakes: "PmtInf/CdtTrfTxInf[2]/PmtId".
class TPain001View {
public:
  explicit TPain001View(const QString &fileName);

  int Count(const QString &path) const;
  // The text of the one element at `path`; a "<n elements>" marker when there is not exactly one.
  QString Text(const QString &path) const;
  QStringList Texts(const QString &path) const;
  // The local names of the element's children, in order.
  QStringList ChildNames(const QString &path) const;
  QString Attribute(const QString &path, const char *name) const;

private:
  TXmlDocument FDoc;

  QList<TXmlElement> Elements(const QString &path) const;
  TXmlElement Single(const QString &path) const;
};
