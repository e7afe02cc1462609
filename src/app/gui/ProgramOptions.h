#pragma once

#include <optional>

// Answers --help and --version before anything of Qt is made, so that they work without a
// display (over ssh, in a script). The exit status when the program is to end there;
// std::nullopt when the window is to start.
std::optional<int> AnswerWithoutWindow(int argc, const char *const argv[]);
