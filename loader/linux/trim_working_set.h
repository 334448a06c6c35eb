// What the loader does after each launch to stay small while it waits:
// malloc gives its free heap back to the system, and the process lets go of
// the pages of program code and read-only data that it maps from files.
// Those pages stay in the page cache and come back on the next touch, as
// after the kernel reclaims them under memory pressure; a page that holds
// anything written (relocations, data) is never dropped.
#pragma once

void TrimWorkingSet();
