#pragma once

#include "model/Exception.h"

#include <QString>

// The errors of reading an XML file, the same whether it is loaded whole or read as a stream.

// "Nie można otworzyć pliku "<name>": plik nie istnieje."
Exception FileMissing(const QString &fileName);

// "Nie można otworzyć pliku "<name>": brak dostępu do pliku."
Exception FileInaccessible(const QString &fileName);

// "Plik "<name>" zawiera deklarację DOCTYPE, …": no entity declaration is ever read.
Exception DoctypeRefused(const QString &fileName);

// "Plik "<name>" nie jest poprawnym plikiem XML (<reason>)."
Exception NotWellFormed(const QString &fileName, const QString &reason);
