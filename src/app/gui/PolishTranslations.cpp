#include "app/gui/PolishTranslations.h"

#include <QLibraryInfo>
#include <QTranslator>

bool InstallPolishTranslations(QCoreApplication &application) {
  auto *translator = new QTranslator(&application);
  if (!translator->load(QStringLiteral("qtbase_pl"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}
