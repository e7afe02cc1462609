#pragma once

#include <QString>
#include <chrono>

// Where and as whom the program submits mail to its author. The program uses the values it
// was built with (BuiltInMailServer); tests pass a server of their own.
struct TMailServer {
  QString Host;
  int Port = 587;
  QString User;
  QString Password;
  // The author's address: the sender and the only recipient.
  QString Address;
  // A PEM file of the certificate authorities to trust instead of the system's; empty for the
  // system's store.
  QString CAFile;
  // Whether a server that offers no STARTTLS gets the message in clear text (without the login)
  // rather than nothing.
  bool AllowPlain = false;
  // Longest wait until the server is ready for the message: connection, greeting, TLS, login.
  std::chrono::seconds ConnectTimeout{30};
  // Longest time the server may stay silent after that before the send is given up.
  std::chrono::seconds StallTimeout{60};
};

// The mail settings this copy of the program was built with; their texts are empty when the
// build was configured without them.
TMailServer BuiltInMailServer();

// Why no mail can go out through `server`: "Program zbudowano bez ustawień serwera pocztowego
// (brak: ...)" naming what is missing; empty when every setting is there.
QString MissingMailSettings(const TMailServer &server);
