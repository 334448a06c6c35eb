// What the loader does after each launch to stay small while it waits:
// malloc gives its free heap back to the system, and the process lets go of
// the pages of program code and read-only data of every object it has
// loaded. Those pages stay in the page cache and come back on the next
// touch, as after the kernel reclaims them under memory pressure.
#pragma once

void TrimWorkingSet();

// The same for the code pages alone, as often as every few seconds: after a
// look at the ramps, whose code the kernel maps in 64 KiB windows around
// each page touched. The segments are found once and kept; the heap is left
// as it is (a look frees what it takes).
void TrimCodePages();
