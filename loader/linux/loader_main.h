// The resident part of the loader: holds the single-instance lock and waits,
// without polling, for its one timer, a resume from suspend, a close request
// or SIGTERM / SIGINT. Ends at once when another loader holds the lock.
#pragma once

#include <stdint.h>

// SIGCHLD, SIGTERM and SIGINT are read through a descriptor. Blocking them
// before the first launch keeps that child's end from going unnoticed.
void BlockLoaderSignals();

void LoaderMain(int32_t delayMs);
