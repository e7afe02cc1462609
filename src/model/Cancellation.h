#pragma once

#include <functional>
#include <mutex>

// Lets another thread end slow work (a mail, an outside program, a load or download of the
// white list): the work asks at its next step, or is woken at once where it waits, and fails
// with TCancelled.
class TCancellation {
public:
  // Any thread, any number of times.
  void Cancel();
  bool IsCancelled() const;

  // How the running work is woken to see a cancellation; an empty function when none waits.
  void SetWaker(std::function<void()> wake);

private:
  mutable std::mutex FMutex;
  bool FCancelled = false;
  std::function<void()> FWake;
};
