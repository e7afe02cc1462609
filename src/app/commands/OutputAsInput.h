#pragma once

#include <QString>
#include <QStringList>

// True when both names lead to one existing file, whatever links and relative parts they take
// on the way.
bool IsSameFile(const QString &a, const QString &b);

// Fails with a Polish message when `input` is one of `outputs`, the files that the command about
// to read it writes or clears: the command would delete or replace what it is to read.
void RefuseOutputAsInput(const QString &input, const QStringList &outputs);
