#pragma once

#include "checks/TransferFinding.h"
#include "xml/XmlSchema.h"

#include <QList>

// What the violations of the pain.001.001.09 schema in a written transfer file mean to the user:
// one finding per element that breaks the schema, naming the transfer and the field, in the
// order met.
QList<TTransferFinding> SchemaFindings(const QList<TXmlViolation> &violations);
