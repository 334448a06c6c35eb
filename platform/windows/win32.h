// <windows.h> for files that also see the painters' Canvas: its TextOut
// method must not turn into the TextOutA that the header's macro names.
// Include this before any other system header.
#pragma once

#include <windows.h>

#undef TextOut
