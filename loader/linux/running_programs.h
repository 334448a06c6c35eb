// What runs now, from /proc: a program of the leave-alone list (by the name
// the kernel keeps, or its executable's file name), and Tonemark itself.
#pragma once

#include <stddef.h>

struct TRunningPrograms {
  bool TonemarkRuns = false;  // a load run or a window: its ramps are not yet final
  char LeaveAlone[64] = {};   // the first listed program found; empty: none
};

TRunningPrograms LookAtRunningPrograms(const char* leaveAloneList);
