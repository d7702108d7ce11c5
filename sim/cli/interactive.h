// talvenor-sim -i: directives typed one at a time into a simulator that keeps running between them.
#pragma once

#include <string>
#include <vector>

#include "runner.h"

// Runs the scenario files first, then reads directives from standard input until `quit` or its end, with a
// prompt and line editing when it is a terminal. Returns the exit status, as a scenario run would.
int RunInteractive(const sim::scenario::RunOptions& options, const std::vector<std::string>& files);
