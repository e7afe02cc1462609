#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program. Its message is user text (Polish or the runtime's
// own English texts) and is shown or logged exactly as it stands.
class Exception : public std::runtime_error {
public:
  explicit Exception(const QString &message);

  QString Message() const { return FMessage; }

  // The type name shown in the default error box for an error nobody caught.
  virtual QString ClassName() const { return QStringLiteral("Exception"); }

private:
  QString FMessage;
};

// Work the user ended with "Anuluj": one line of the log says so, not an error box.
class TCancelled : public Exception {
public:
  using Exception::Exception;
  QString ClassName() const override { return QStringLiteral("TCancelled"); }
};

// The user text of any error: an Exception's message, a Polish sentence for exhausted memory,
// else the library's own text.
QString ErrorMessage(const std::exception &error);
