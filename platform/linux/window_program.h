// tonemark's window lives in a program of its own beside it, tonemark-window,
// which links the toolkit: load mode, which runs at every log-on and resume,
// then never pays for loading it.
#pragma once

#include <string>
#include <vector>

// Replaces this process with tonemark-window from the folder of args[0], with
// the same arguments and environment. Returns only when it cannot be started,
// errno saying why.
void StartWindowProgram(const std::vector<std::string>& args);
