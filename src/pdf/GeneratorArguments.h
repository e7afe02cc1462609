#pragma once

#include <QString>
#include <QStringList>

// What one run of the generator is asked to do:
// Velmira -i PLIK.xml -t invoice [--nrKSeF NUMER] [--qrCode ADRES] [-o PLIK.PDF]
struct TGeneratorArguments {
  QString InvoicePath;
  // As given; whether it is a KSeF number at all is checked later.
  QString KsefNumber;
  QString QrBase;
  // Where the PDF goes; empty for beside the invoice.
  QString PdfPath;
};

// Reads the arguments after the program name; `defaultQrBase` stands in for a missing
// --qrCode. A wrong call fails with a Polish message that names what is wrong.
TGeneratorArguments ParseGeneratorArguments(const QStringList &arguments, const QString &defaultQrBase);

QString GeneratorUsage();
