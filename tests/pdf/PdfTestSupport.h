#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The application Qt's painting needs; created once, offscreen.
void EnsureGuiApplication();

// The bytes of a sample invoice of ../shared/ksef/samples.
QByteArray SampleInvoice(const QString &name);
QStringList SampleInvoiceNames();

// The content of the QR codes of one page, as zbarimg (zbar-tools) reads a rendering of it.
QString QrCodesOnPage(const QString &pdfFile, int page);

// A KSeF FA(3) invoice, as small as the generator accepts plus `lines` FaWiersz lines.
QByteArray MinimalInvoice(int lines = 1, const QString &extraFa = QString());
