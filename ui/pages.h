// The thirteen pages of the calibration window, in tab order: their tab and
// help texts and the help text's colour. The page numbers and window colours
// are the painters' (paint/page_state.h, PageLook); panel arrangements live
// with ShowPage.
#pragma once

#include <array>

#include "paint/page_state.h"
#include "ui/controls.h"

struct TPageInfo {
  const char* TabKey;
  const char* DesignTab;
  const char* HelpKey;  // null: the page hides the help text
  TColor HelpColor;
};

inline constexpr std::array<TPageInfo, PageCount> Pages{{
    {"TabWelcome", "Welcome", nullptr, Grey(130)},
    {"TabBlackPoint", "Black Point", "TBlackPoint", Grey(130)},
    {"TabWhitePoint", "White Point", "TWhitePoint", Grey(100)},
    {"TabGamma", "Gamma", "TGamma", Grey(130)},
    {"TabSharp", "Sharp", "TSharp", Grey(130)},
    {"TabColorBalance", "Color Balance", "TColorBalance", Grey(160)},
    {"TabCorrectionPoints", "Correction Points", "TCorrectionPoints", Grey(130)},
    {"TabAllControls", "All Controls", "TAllControls", Grey(130)},
    {"TabGrays", "Grays", "TGrays", Grey(50)},
    {"TabHighlights", "Highlights", "THighlights", Grey(100)},
    {"TabShadows", "Shadows", "TShadows", Grey(130)},
    {"TabGradient", "Gradient", "TGradient", Grey(130)},
    {"TabReferenceImage", "Reference Image", "TReferenceImage", Grey(130)},
}};
