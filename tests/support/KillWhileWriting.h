#pragma once

#include "model/AtomicFile.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// The steps the atomic writes of `write` pass, in order, when nothing disturbs them; `write`
// runs in this process.
std::vector<TAtomicWriteStep> StepsOfWrite(const std::function<void()> &write);

// Runs `write` in a child process that stops at each step of its atomic writes, tells this
// process through a pipe and waits for its word to go on; at the step with index `stop` (from
// 0, counted as StepsOfWrite counts them) the child is killed with SIGKILL instead: a crash or a
// power cut at that very point. Fails when the child ended before that step or any other way.
::testing::AssertionResult KillAtWriteStep(const std::function<void()> &write, std::size_t stop);

// Runs `write(round)` for round 0, 1, 2, ... in a child process until it is killed with SIGKILL
// `delay` after it was started: a kill at a moment nobody chose, wherever it lands. The child
// never returns into the test. Fails when the child ended any other way (a write that threw,
// for example) instead of being killed.
::testing::AssertionResult KillWhileWriting(const std::function<void(int round)> &write,
                                            std::chrono::microseconds delay);
