// The thirteen pages of the calibration window, in tab order: their tab and
// help texts and colours. Panel arrangements live with ShowPage.
#pragma once

#include <array>
#include <cstdint>

#include "ui/controls.h"

struct TPageInfo {
  const char* TabKey;
  const char* DesignTab;
  const char* HelpKey;  // null: the page hides the help text
  TColor WindowColor;
  TColor HelpColor;
};

inline constexpr std::array<TPageInfo, 13> Pages{{
    {"TabWelcome", "Welcome", nullptr, Black, Grey(130)},
    {"TabBlackPoint", "Black Point", "TBlackPoint", Black, Grey(130)},
    {"TabWhitePoint", "White Point", "TWhitePoint", White, Grey(100)},
    {"TabGamma", "Gamma", "TGamma", Black, Grey(130)},
    {"TabSharp", "Sharp", "TSharp", Black, Grey(130)},
    {"TabColorBalance", "Color Balance", "TColorBalance", Grey(56), Grey(160)},
    {"TabCorrectionPoints", "Correction Points", "TCorrectionPoints", Black, Grey(130)},
    {"TabAllControls", "All Controls", "TAllControls", Black, Grey(130)},
    {"TabGrays", "Grays", "TGrays", Grey(190), Grey(50)},
    {"TabHighlights", "Highlights", "THighlights", White, Grey(100)},
    {"TabShadows", "Shadows", "TShadows", Black, Grey(130)},
    {"TabGradient", "Gradient", "TGradient", Grey(25), Grey(130)},
    {"TabReferenceImage", "Reference Image", "TReferenceImage", Black, Grey(130)},
}};

constexpr int32_t WelcomePage = 0;
constexpr int32_t HighlightsPage = 9;
constexpr int32_t ShadowsPage = 10;
constexpr int32_t ReferenceImagePage = 12;
