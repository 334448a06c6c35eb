// The thirteen pages of the calibration window, one record each, indexed by
// the page number: what the window arranges for a page (tab, help text,
// colours, panels) and what its pattern draws. A new page is a new record
// here, its painter and its number in paint/page_state.h.
#pragma once

#include <array>
#include <cstdint>

#include "paint/canvas.h"
#include "paint/page_state.h"
#include "ramp/records.h"

// The window's adjustment panels, as a page names them; None ends a row.
enum class TAdjustGroup : int8_t { None, Gamma, Black, White, Balance, Point };
constexpr int32_t AdjustGroupCount = 5;

// What a page's painter draws with; Level is CurrentPoint.
struct TPatternFrame {
  TCanvas& Canvas;
  int32_t Ppi;
  int32_t ClientWidth;
  int32_t PatternHeight;
  int32_t Level;
  const TBitmap* Reference;
  TDisplayHandle DisplayDC;
};
using TPagePainter = void (*)(const TPatternFrame& frame);

constexpr int32_t NoOpeningPoint = -1;

struct TPage {
  const char* TabKey = nullptr;
  const char* DesignTab = nullptr;
  const char* HelpKey = nullptr;  // null: the page hides the help text
  TColor HelpColor = Black;
  TColor WindowColor = Black;
  bool HasGraph = false;
  TColor GraphBackground = Black;
  bool PointLine = false;           // the graph marks CurrentPoint
  TPagePainter Painter = nullptr;   // drawn after the graph
  bool SideWedges = false;          // drawn last, over the pattern
  // The adjustment panels in a row just above the bar, left to right; the
  // one named by CentredPanel stands in the middle of the display.
  std::array<TAdjustGroup, AdjustGroupCount> Panels{};
  TAdjustGroup CentredPanel = TAdjustGroup::None;
  // The level that showing the page moves the current point to.
  int32_t OpeningPoint = NoOpeningPoint;
};

extern const std::array<TPage, PageCount> Pages;

// The record of `page`; any other page is a black page with nothing on it.
const TPage& PageLook(int32_t page);
