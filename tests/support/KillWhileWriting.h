#pragma once

#include <chrono>
#include <functional>
#include <gtest/gtest.h>

// Runs `write(round)` for round 0, 1, 2, ... in a child process until it is killed with SIGKILL
// `delay` after it was started: a crash or power cut at an arbitrary point of a write. The
// child never returns into the test. Fails when the child ended any other way (a write that
// threw, for example) instead of being killed.
::testing::AssertionResult KillWhileWriting(const std::function<void(int round)> &write,
                                            std::chrono::microseconds delay);
