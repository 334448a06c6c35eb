// What runs now, from /proc: a program of the leave-alone list (by the name
// the kernel keeps, or its executable's file name), and Tonemark itself.
#pragma once

#include "loader/watch_core.h"

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList);
