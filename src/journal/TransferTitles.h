#pragma once

#include "xml/XmlSchema.h"

#include <QStringList>
#include <optional>

// The remittance text of each transfer of a pain.001 file, in file order: its unstructured
// text, else the reference of its structured split-payment block, else an empty text. Taken
// from the file as written, while it is read as a stream for its check, so the journal keeps
// exactly what the bank received without holding the file or reading it again.
class TTransferTitles {
public:
  // Looks at one element of the file as it ends.
  void Visit(const TXmlStreamElement &element);

  QStringList Titles() const { return FTitles; }

private:
  // What the transfer being read carries so far.
  std::optional<QString> FPlain;
  std::optional<QString> FReference;
  QStringList FTitles;
};
