#pragma once

#include <QString>
#include <QStringList>

// Where the KSeF API is and whom to trust for it.
struct TKsefConnection {
  // "testowe", "demo" or "produkcyjne": names the remembered starting points too.
  QString Environment;
  // Without a trailing slash, e.g. "https://api.ksef.mf.gov.pl/v2".
  QString BaseUrl;
  // A PEM file of authorities trusted besides the system's (a company proxy's); empty for the
  // system's alone.
  QString CaFile;
};

// The connection of settings.ini's section [KSeF]: Srodowisko= (default produkcyjne), Adres=
// (another base address for the same environment, e.g. a company proxy) and PlikCA= (an
// authority added to the system's). Fails with a Polish sentence on an unknown environment or
// an address that is not https://.
// `environment`, when given, stands for Srodowisko= in this run (pavena-cli --srodowisko); with
// Adres= set, only the configured environment may be given.
TKsefConnection KsefConnectionFromSettings(const QString &settingsFile, const QString &environment = {});

// The names of the environments: testowe, demo, produkcyjne.
QStringList KsefEnvironmentNames();
