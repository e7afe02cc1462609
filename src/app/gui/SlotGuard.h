#pragma once

#include <QString>
#include <functional>

class QWidget;

// Runs the work of a slot. An error that the work does not handle itself ends it and is shown
// in the default error box; no exception ever reaches Qt's event loop.
void RunGuarded(QWidget *owner, const std::function<void()> &work);

// The default error box: the error's message, an error icon, one OK button, the program's name
// as its title.
void ShowDefaultError(QWidget *owner, const QString &message);
