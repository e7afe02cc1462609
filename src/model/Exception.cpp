#include "model/Exception.h"

Exception::Exception(const QString &message)
    : std::runtime_error(message.toStdString()), FMessage(message) {}
