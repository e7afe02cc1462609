#pragma once

#include "ksef/InvoiceDocument.h"
#include "xml/XmlDocument.h"

// Reads the invoice of a parsed KSeF file. Elements are found by local name, whatever the
// namespace prefix; texts are taken leniently (whatever text an element holds), and what is
// missing is left empty: whether the invoice will do is for its user to say.
TInvoiceDocument ReadInvoiceDocument(const TXmlDocument &document);
