// The calibration window lives in a program of its own beside tonemark,
// tonemark-window, which links the toolkit: load mode, which runs at every
// log-on and resume, then never pays for loading it.
#pragma once

inline const char* const WindowProgramName = "tonemark-window";

// Replaces this process with the window program, given this run's arguments.
// Throws when it cannot be started.
[[noreturn]] void StartWindowProgram();
