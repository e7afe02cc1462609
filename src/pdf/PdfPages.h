#pragma once

#include "pdf/PdfBlocks.h"

#include <QByteArray>
#include <QString>
#include <vector>

// Lays the blocks out on A4 pages and gives the PDF's bytes: fonts embedded (DejaVu Sans from
// the package fonts-dejavu-core), a table's header repeated on every page it runs onto, a
// heading kept with what follows it, and on every page a foot with `footer` and "Strona N z M".
// Needs a QGuiApplication. Fails with a Polish message when the fonts cannot be loaded.
QByteArray WritePdfPages(const std::vector<TPdfBlock> &blocks, const QString &footer, const QString &title);

// Where the fonts are read from.
extern const char *const PdfFontDirectory;
