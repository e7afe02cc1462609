#pragma once

#include "app/commands/Host.h"

// Sending a troublesome input file to the program's author, from the page
// "Funkcje techniczne" or from pavena-cli.
class TSendToAuthorCommand {
public:
  explicit TSendToAuthorCommand(THost &host);

  static const QString HelpText;

  // Why this program cannot send at all: "Wysyłka do autora jest niedostępna. " and the
  // mailer's reason; empty when it can. The window shows it beside the disabled button.
  QString Unavailable() const;

  // The button "Wyślij wskazany plik do autora programu": asks first, then checks the field
  // (blanks count as filled) and sends. `payerName` and `payerNIP` are the payer fields as they
  // stand.
  void Press(const QString &filePath, const QString &payerName, const QString &payerNIP);

  // Sends the file with "name NIP" as the text. Success: the 45-hyphen line and the success
  // line in the log, then the box "Plik wysłany pomyślnie!"; failure: the box "Błąd wysyłki: "
  // with the reason, and the error's technical detail, if any, in the log. A program that cannot send at all tries
  // nothing and logs Unavailable() as an error. True when the file went out.
  bool SendFileToAuthor(const QString &filePath, const QString &payerName, const QString &payerNIP);

private:
  THost &FHost;
};
