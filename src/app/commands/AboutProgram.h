#pragma once

#include "app/commands/Host.h"

#include <QString>

// The program's author, as the window's title and the about box name him.
QString AuthorName();

// The three lines of the about box, separated by CR LF: the author, the telephone number and
// the e-mail address, each after its label.
QString AboutText(const QString &phone, const QString &mailAddress);

// The button "Informacja\ro programie": the about box with the author's telephone number and
// address given when the program was built.
void ShowAbout(const THost &host);

// The button "Wyświetl\rinstrukcję\rdo programu": the manual beside the executable, opened
// with the desktop's application for PDF files. A missing manual does nothing visible.
void OpenManual(const THost &host);
