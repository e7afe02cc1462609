#include "mail/SendCancellation.h"

void TSendCancellation::Cancel() {
  const std::lock_guard lock(FMutex);
  FCancelled = true;
  if (FWake)
    FWake();
}

bool TSendCancellation::IsCancelled() const {
  const std::lock_guard lock(FMutex);
  return FCancelled;
}

void TSendCancellation::SetWaker(std::function<void()> wake) {
  const std::lock_guard lock(FMutex);
  FWake = std::move(wake);
}
