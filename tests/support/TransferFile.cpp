#include "TransferFile.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

TTransferFile::TTransferFile(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "Cannot open " << fileName.toStdString();
    return;
  }
  QXmlStreamReader xml(&file);
  QList<qsizetype> open;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      open.append(FElements.size());
      FElements.append({xml.name().toString(), QString()});
    } else if (xml.isEndElement()) {
      open.removeLast();
    } else if (xml.isCharacters() && !open.isEmpty()) {
      FElements[open.last()].Text += xml.text();
    }
  }
  if (xml.hasError())
    ADD_FAILURE() << fileName.toStdString() << ": " << xml.errorString().toStdString();
}

QStringList TTransferFile::Texts(const QString &localName) const {
  QStringList texts;
  for (const TElement &element : FElements)
    if (element.Name == localName)
      texts.append(element.Text);
  return texts;
}
