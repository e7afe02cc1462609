#include "model/SecretBytes.h"

#include <cstring>

void WipeSecret(char *bytes, std::size_t size) {
  // Unlike memset, never left out for a buffer about to be freed.
  explicit_bzero(bytes, size);
}

void WipeSecret(QByteArray &secret) {
  if (!secret.isEmpty())
    WipeSecret(const_cast<char *>(secret.constData()), std::size_t(secret.size()));
  secret.clear();
}
