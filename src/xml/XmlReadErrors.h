#pragma once

#include "model/Exception.h"

#include <QString>

// The errors of reading an XML file, the same whether it is loaded whole or read as a stream.

// For a path that is no file: "Nie można otworzyć pliku "<name>": plik nie istnieje.", or
// for a folder "Nie można otworzyć pliku "<name>": to jest folder, a nie plik."
Exception NotAFile(const QString &fileName);

// "Nie można otworzyć pliku "<name>": brak dostępu do pliku."
Exception FileInaccessible(const QString &fileName);

// "Plik "<name>" zawiera deklarację DOCTYPE, …": no entity declaration is ever read.
Exception DoctypeRefused(const QString &fileName);

// "Plik "<name>" nie jest poprawnym plikiem XML (<reason>)."
Exception NotWellFormed(const QString &fileName, const QString &reason);
