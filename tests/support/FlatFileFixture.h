#pragma once

#include "TestSupport.h"

#include <QDate>
#include <QString>
#include <QStringList>

// Flat files of the VAT white list for the tests. Their digests are computed by Python's
// hashlib, never by the program's own code.

// Pairs known to the tests: valid NIPs and accounts.
namespace FlatFilePairs {
// Active payer.
inline const QString ActiveNip = QStringLiteral("5260250995");
inline const QString ActiveAccount = QStringLiteral("61109010140000071219812874");
// Exempt payer, published in upper case.
inline const QString ExemptNip = QStringLiteral("1234563218");
inline const QString ExemptAccount = QStringLiteral("27114020040000300201355387");
// A virtual account of bank 10501214 reached through the mask below.
inline const QString VirtualNip = QStringLiteral("7740001454");
inline const QString VirtualAccount = QStringLiteral("39105012140000000012000000");
inline const QString Mask = QStringLiteral("XX10501214XXXXXXXXYYXXXXXX");
inline const QString MaskedText = QStringLiteral("XX10501214XXXXXXXX12XXXXXX");
} // namespace FlatFilePairs

// Writes `name` in `dir`: a flat file of `date` with `rounds` transformations and the entries
// of make_flat_file.py ("a:NIP:ACCOUNT", "e:…", "E:…", "m:MASK"); gives its path.
QString MakeFlatFileJson(const TTempDir &dir, const QString &name, QDate date, int rounds, const QStringList &entries);

// The three pairs above and the mask, in a flat file of `date`.
QString MakeStandardFlatFileJson(const TTempDir &dir, const QString &name, QDate date, int rounds = 3);

// Packs the files into the 7z archive `archiveName` in `dir` with 7z; gives its path.
QString PackWith7z(const TTempDir &dir, const QString &archiveName, const QStringList &files);
