#pragma once

#include "app/commands/AppPaths.h"

#include <QString>
#include <QStringList>

// The text of --help, naming the data directory of `paths` and why it is that one.
QString CliHelpText(const TAppPaths &paths);
// The text of pavena-cli POLECENIE --help: the command, or each command of a group
// ("biala-lista").
QString CliCommandHelpText(const QString &topic);
// The short reminder printed after a wrong call: how to call the command the arguments name,
// or every command when they name none.
QString CliUsageHint(const QStringList &arguments);
