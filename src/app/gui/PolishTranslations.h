#pragma once

#include <QCoreApplication>

// Loads Qt's own Polish texts (Debian's qt6-translations-l10n), so that the standard buttons
// and the file chooser speak Polish like the rest of the program. False when they are not
// installed; Qt's English texts then stay.
bool InstallPolishTranslations(QCoreApplication &application);
