#include "model/Cancellation.h"

void TCancellation::Cancel() {
  const std::lock_guard lock(FMutex);
  FCancelled = true;
  if (FWake)
    FWake();
}

bool TCancellation::IsCancelled() const {
  const std::lock_guard lock(FMutex);
  return FCancelled;
}

void TCancellation::SetWaker(std::function<void()> wake) {
  const std::lock_guard lock(FMutex);
  FWake = std::move(wake);
}
