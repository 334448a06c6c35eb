#include "shell/command_line.h"

std::vector<std::string> CommandLineArgs;
