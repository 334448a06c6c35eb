#include "loader/command_line.h"

LoaderOptions ParseLoaderCommandLine(const std::vector<std::string>&) { return {}; }
