// The README's graph: for each display, the target's tone curve and the
// display's grey levels before and after calibration by eye, as relative
// light over level, one panel per display side by side.
#pragma once

#include <string>
#include <vector>

#include "bench/observer/judge.h"

struct TGraphPanel {
  TJudgement Before, After;
};

// Writes the panels as a PNG; false with `error` set when it cannot.
bool WriteToneGraph(const std::string& path, const std::vector<TGraphPanel>& panels, std::string& error);
