#pragma once

#include "CliRequest.h"

#include <QStringList>

// Reads the arguments after the program name by the table of commands. A wrong call fails
// with a Polish message that names what is wrong and what is valid.
TCliRequest ParseCliArguments(const QStringList &arguments);
