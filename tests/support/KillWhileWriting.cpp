#include "KillWhileWriting.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

::testing::AssertionResult KillWhileWriting(const std::function<void(int round)> &write,
                                            std::chrono::microseconds delay) {
  const pid_t child = fork();
  if (child < 0)
    return ::testing::AssertionFailure() << "fork failed";
  if (child == 0) {
    try {
      for (int round = 0;; ++round)
        write(round);
    } catch (const std::exception &error) {
      std::fprintf(stderr, "The writing child failed: %s\n", error.what());
    } catch (...) {
    }
    _exit(3);
  }
  std::this_thread::sleep_for(delay);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
    return ::testing::AssertionFailure() << "the writing child ended by itself with status " << status;
  return ::testing::AssertionSuccess();
}
