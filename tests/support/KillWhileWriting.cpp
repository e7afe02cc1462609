#include "KillWhileWriting.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Both ends of a pipe, closed when it goes.
struct TPipe {
  int Read = -1;
  int Write = -1;

  TPipe() {
    int ends[2];
    if (pipe(ends) == 0) {
      Read = ends[0];
      Write = ends[1];
    }
  }
  ~TPipe() {
    CloseRead();
    CloseWrite();
  }
  TPipe(const TPipe &) = delete;
  TPipe &operator=(const TPipe &) = delete;

  bool IsOpen() const { return Read >= 0 && Write >= 0; }
  void CloseRead() {
    if (Read >= 0)
      close(Read);
    Read = -1;
  }
  void CloseWrite() {
    if (Write >= 0)
      close(Write);
    Write = -1;
  }
};

bool WriteByte(int fd, char byte) {
  ssize_t written;
  do
    written = write(fd, &byte, 1);
  while (written < 0 && errno == EINTR);
  return written == 1;
}

// False at the end of the pipe.
bool ReadByte(int fd, char &byte) {
  ssize_t got;
  do
    got = read(fd, &byte, 1);
  while (got < 0 && errno == EINTR);
  return got == 1;
}

// Runs the child's work and leaves the process without returning into the test.
[[noreturn]] void RunChild(const std::function<void()> &work) {
  try {
    work();
  } catch (const std::exception &error) {
    std::fprintf(stderr, "The writing child failed: %s\n", error.what());
  } catch (...) {
  }
  _exit(3);
}

::testing::AssertionResult KilledBySigKill(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFSIGNALED(status) || WTERMSIG(status) != SIGKILL)
    return ::testing::AssertionFailure() << "the writing child ended by itself with status " << status;
  return ::testing::AssertionSuccess();
}

} // namespace

std::vector<TAtomicWriteStep> StepsOfWrite(const std::function<void()> &write) {
  std::vector<TAtomicWriteStep> steps;
  SetAtomicWriteObserver([&steps](TAtomicWriteStep step) { steps.push_back(step); });
  try {
    write();
  } catch (...) {
    SetAtomicWriteObserver({});
    throw;
  }
  SetAtomicWriteObserver({});
  return steps;
}

::testing::AssertionResult KillAtWriteStep(const std::function<void()> &write, std::size_t stop) {
  TPipe reached;
  TPipe goOn;
  if (!reached.IsOpen() || !goOn.IsOpen())
    return ::testing::AssertionFailure() << "pipe failed";
  const pid_t child = fork();
  if (child < 0)
    return ::testing::AssertionFailure() << "fork failed";
  if (child == 0) {
    reached.CloseRead();
    goOn.CloseWrite();
    SetAtomicWriteObserver([&](TAtomicWriteStep step) {
      char word = 0;
      if (!WriteByte(reached.Write, char(step)) || !ReadByte(goOn.Read, word))
        _exit(4);
    });
    RunChild([&] {
      write();
      // Done before the parent's step: it sees the end of the pipe.
      reached.CloseWrite();
      _exit(0);
    });
  }
  reached.CloseWrite();
  goOn.CloseRead();
  std::size_t passed = 0;
  char step = 0;
  while (ReadByte(reached.Read, step)) {
    if (passed == stop) {
      kill(child, SIGKILL);
      return KilledBySigKill(child);
    }
    ++passed;
    WriteByte(goOn.Write, 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return ::testing::AssertionFailure() << "the writing child passed " << passed << " steps, not " << stop + 1
                                       << ", and ended with status " << status;
}

::testing::AssertionResult KillWhileWriting(const std::function<void(int round)> &write,
                                            std::chrono::microseconds delay) {
  const pid_t child = fork();
  if (child < 0)
    return ::testing::AssertionFailure() << "fork failed";
  if (child == 0)
    RunChild([&] {
      for (int round = 0;; ++round)
        write(round);
    });
  std::this_thread::sleep_for(delay);
  kill(child, SIGKILL);
  return KilledBySigKill(child);
}
