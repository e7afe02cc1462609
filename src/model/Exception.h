#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the program. Its message is user text (Polish or the runtime's
// own English texts) and is shown or logged exactly as it stands.
class Exception : public std::runtime_error {
public:
  explicit Exception(const QString &message);
  // With what a technician would need beyond the message (a library's own English words): it
  // goes to the log, never into a box.
  Exception(const QString &message, const QString &detail);

  QString Message() const { return FMessage; }
  // Empty when the message says it all.
  QString Detail() const { return FDetail; }

  // The type name shown in the default error box for an error nobody caught.
  virtual QString ClassName() const { return QStringLiteral("Exception"); }

private:
  QString FMessage;
  QString FDetail;
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
