#pragma once

#include <QString>

// The directory of the running executable, ending with "/"; the environment variable
// PAVENA_DIR, when set, replaces it. The current working directory plays no part.
QString AppDir();

// AppDir() followed by the relative name, e.g. AppFilePath("PLIKI_DO_BANKU/Pain001.xml").
QString AppFilePath(const QString &name);

// Creates "XML_PZ", "FAKTURY" and "PLIKI_DO_BANKU" under AppDir(); failures are ignored.
void CreateWorkDirectories();
