// The process's command line, as main() received it. Argument 0 is the
// program's own path (the program folder is taken from it).
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> CommandLineArgs;
