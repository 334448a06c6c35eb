// What "tonewatch /status" prints, and the state it prints when no Tonewatch
// is running: the last load run's word on each display.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "loader/shown_file.h"
#include "loader/watch_status.h"

// Copies at most size - 1 bytes and always ends the text.
void CopyText(char* field, size_t size, const char* text);

// One record per display of the file: its curve, last load and result; the
// state is what the watch would start from (WatchNotWatched for all when
// `watching` is false, Why then saying `notWatchedWhy`).
void StatusFromShown(const TShownFile& shown, bool watching, const char* notWatchedWhy, TWatchStatus& status);

// "2026-12-09 12:30:37 UTC" for seconds since 1970.
void FormatUtc(int64_t seconds, char* text, size_t size);

// The whole report; `running` says whether it comes from a running Tonewatch,
// which looks at the ramps every `watchSeconds` (0: not at all). Cut at size - 1 bytes.
void FormatWatchStatus(const TWatchStatus& status, bool running, int32_t watchSeconds, char* text, size_t size);
