// What runs now among the user's own processes, from /proc: a program of the
// leave-alone list (by the name the kernel keeps, or its executable's file
// name), and the Tonemark beside the loader.
#pragma once

#include "loader/watch_core.h"

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList);
