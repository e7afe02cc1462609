#pragma once

#include <QDate>
#include <QString>
#include <optional>

class QWidget;

// What the user says of an invoice paid without this program's transfer file.
struct TPaidOutside {
  QDate PaidOn;
  QString Note;
};

// The dialog "Oznacz jako zapłacone poza programem": the day it was paid ("DataZaplaty",
// `today` at first) and an optional note ("EdtNotatka"). None when the user cancels.
std::optional<TPaidOutside> AskPaidOutside(QWidget *parent, const QString &invoice, QDate today);
