// The running loader's state as it leaves it for "tonewatch /status": a plain
// record, written whole (temporary file and rename) whenever it changes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "loader/watch_status.h"

constexpr uint32_t StatusRecordMagic = 0x31535754;  // "TWS1"
constexpr char StatusRecordName[] = "Orvana.Tonewatch.status";

struct TStatusRecord {
  uint32_t Magic;
  uint32_t Size;         // sizeof(TStatusRecord) of the writer
  int64_t Process;       // the writer's process id
  int32_t WatchSeconds;  // 0: not watching, and Why says why
  char Why[128];
  TWatchStatus Status;   // only while watching; else the reader takes Tonemark.shown
};

static_assert(sizeof(TWatchStatus) % 8 == 0 && offsetof(TStatusRecord, Status) % 8 == 0,
              "the record is summed in 8-byte words");
