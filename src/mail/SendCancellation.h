#pragma once

#include <functional>
#include <mutex>

// Lets another thread end a mail while it goes out: the send gives up at its next step, or at
// once when it is waiting for the server, and fails with TCancelled.
class TSendCancellation {
public:
  // Any thread, any number of times.
  void Cancel();
  bool IsCancelled() const;

  // How the running send is woken to see a cancellation; an empty function when no send runs.
  void SetWaker(std::function<void()> wake);

private:
  mutable std::mutex FMutex;
  bool FCancelled = false;
  std::function<void()> FWake;
};
