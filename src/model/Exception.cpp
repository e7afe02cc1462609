#include "model/Exception.h"

#include <new>

Exception::Exception(const QString &message) : std::runtime_error(message.toStdString()), FMessage(message) {}

Exception::Exception(const QString &message, const QString &detail) : Exception(message) { FDetail = detail; }

QString ErrorMessage(const std::exception &error) {
  if (const auto *own = dynamic_cast<const Exception *>(&error))
    return own->Message();
  if (dynamic_cast<const std::bad_alloc *>(&error))
    return QStringLiteral("Za mało pamięci operacyjnej, by dokończyć tę operację.");
  return QString::fromLocal8Bit(error.what());
}
