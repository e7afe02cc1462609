#pragma once

#include <QString>

// The manual page pavena-cli(1) in roff, from the table of commands: the same commands,
// options and exit statuses as the parser and --help.
QString CliManPage(const QString &version, const QString &date);
