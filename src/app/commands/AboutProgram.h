#pragma once

#include "app/commands/Host.h"

#include <QList>
#include <QString>

// The program's author, as the window's title and the about box name him.
QString AuthorName();

// The lines of the about box: the author, the version, the telephone number and the e-mail
// address. A line without a value (a build without a telephone number) is left out.
QList<TAboutLine> AboutLines(const QString &phone, const QString &mailAddress);

// The button "Informacja\ro programie": the about box with the author's telephone number and
// address given when the program was built.
void ShowAbout(const THost &host);

// The button "Wyświetl\rinstrukcję\rdo programu": the manual beside the executable, opened
// with the desktop's application for PDF files. A missing manual does nothing visible.
void OpenManual(const THost &host);
