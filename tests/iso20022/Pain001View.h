#pragma once

#include <QString>
#include <QStringList>
#include <libxml/tree.h>
#include <memory>

// A written transfer file read back for assertions. A path names elements below
// CstmrCdtTrfInitn joined by "/", each optionally with a position: "PmtInf/CdtTrfTxInf[2]/PmtId".
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
  struct TDocFree {
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
  };
  std::unique_ptr<xmlDoc, TDocFree> FDoc;

  QList<xmlNode *> Elements(const QString &path) const;
  xmlNode *Single(const QString &path) const;
};
