// The running loader's state in Orvana.Tonewatch.status, in its runtime
// folder, for "tonewatch /status"; and that command itself.
#pragma once

#include <stdint.h>

#include "loader/watch_status.h"

// Writes the record when it differs from the one written last.
void WriteStatusFile(int32_t watchSeconds, const char* notWatchedWhy, const TWatchStatus& status);
void RemoveStatusFile();

// "/status": the running loader's record, or the last load run's word when
// none runs; always exit code 0.
int PrintWatchStatus();
