#pragma once

#include <QString>
#include <QStringList>

// True when both names lead to one existing file, whatever links and relative parts they take
// on the way.
bool IsSameFile(const QString &a, const QString &b);

// Fails with a Polish message naming the first of `inputs` that is one of `outputs`, the files
// that the command about to read them writes or clears: the command would delete or replace
// what it is to read. The outputs' real paths are found once for all the inputs.
void RefuseOutputAsInput(const QStringList &inputs, const QStringList &outputs);
