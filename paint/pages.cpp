#include "paint/pages.h"

#include "paint/page_painters.h"
#include "paint/reference_image.h"

using Group = TAdjustGroup;

constexpr std::array<TPage, PageCount> Pages{{
    {.TabKey = "TabWelcome", .DesignTab = "Welcome", .HelpColor = Grey(130), .WindowColor = Black},
    {.TabKey = "TabBlackPoint", .DesignTab = "Black Point", .HelpKey = "TBlackPoint", .HelpColor = Grey(130),
     .WindowColor = Black, .HasGraph = true, .GraphBackground = Black, .PointLine = false,
     .Painter = [](const TPatternFrame& f) { PaintBlackPointPage(f.Canvas, f.Ppi); },
     .Panels = {Group::Black}, .CentredPanel = Group::Black},
    {.TabKey = "TabWhitePoint", .DesignTab = "White Point", .HelpKey = "TWhitePoint", .HelpColor = Grey(100),
     .WindowColor = White, .HasGraph = true, .GraphBackground = White, .PointLine = false,
     .Painter = [](const TPatternFrame& f) { PaintWhitePointPage(f.Canvas, f.Ppi); },
     .Panels = {Group::White}, .CentredPanel = Group::White},
    {.TabKey = "TabGamma", .DesignTab = "Gamma", .HelpKey = "TGamma", .HelpColor = Grey(130),
     .WindowColor = Black, .HasGraph = true, .GraphBackground = Black, .PointLine = false,
     .Painter = [](const TPatternFrame& f) { PaintGammaPage(f.Canvas, f.Ppi, f.PatternHeight); },
     .Panels = {Group::Gamma}, .CentredPanel = Group::Gamma},
    {.TabKey = "TabSharp", .DesignTab = "Sharp", .HelpKey = "TSharp", .HelpColor = Grey(130),
     .WindowColor = Black, .HasGraph = true, .GraphBackground = Black, .PointLine = true,
     .Painter = [](const TPatternFrame& f) { PaintSharpPage(f.Canvas, f.Ppi, f.PatternHeight, f.Level); },
     .Panels = {Group::Gamma}, .CentredPanel = Group::Gamma},
    {.TabKey = "TabColorBalance", .DesignTab = "Color Balance", .HelpKey = "TColorBalance", .HelpColor = Grey(160),
     .WindowColor = Grey(56), .HasGraph = true, .GraphBackground = Grey(56), .PointLine = false,
     .Painter = [](const TPatternFrame& f) { PaintColorBalancePage(f.Canvas, f.Ppi, f.ClientWidth, f.PatternHeight); },
     .Panels = {Group::Black, Group::Balance, Group::White}, .CentredPanel = Group::Balance},
    {.TabKey = "TabCorrectionPoints", .DesignTab = "Correction Points", .HelpKey = "TCorrectionPoints",
     .HelpColor = Grey(130), .WindowColor = Black, .HasGraph = true, .GraphBackground = Black, .PointLine = true,
     .Painter = [](const TPatternFrame& f) { PaintPointsPage(f.Canvas, f.Ppi, f.PatternHeight, f.Level); },
     .SideWedges = true, .Panels = {Group::Point}, .CentredPanel = Group::Point},
    {.TabKey = "TabAllControls", .DesignTab = "All Controls", .HelpKey = "TAllControls", .HelpColor = Grey(130),
     .WindowColor = Black, .HasGraph = true, .GraphBackground = Black, .PointLine = true,
     .Painter = [](const TPatternFrame& f) { PaintPointsPage(f.Canvas, f.Ppi, f.PatternHeight, f.Level); },
     .SideWedges = true,
     .Panels = {Group::Black, Group::White, Group::Point, Group::Balance, Group::Gamma}, .CentredPanel = Group::Point},
    {.TabKey = "TabGrays", .DesignTab = "Grays", .HelpKey = "TGrays", .HelpColor = Grey(50),
     .WindowColor = Grey(190), .HasGraph = true, .GraphBackground = Grey(190), .PointLine = true,
     .Painter = [](const TPatternFrame& f) { PaintGraysPage(f.Canvas, f.Ppi, f.PatternHeight, f.Level); },
     .Panels = {Group::Point, Group::Gamma}, .CentredPanel = Group::Point},
    {.TabKey = "TabHighlights", .DesignTab = "Highlights", .HelpKey = "THighlights", .HelpColor = Grey(100),
     .WindowColor = White, .HasGraph = true, .GraphBackground = Grey(200), .PointLine = true,
     .Painter = [](const TPatternFrame& f) {
       PaintHighlightsPage(f.Canvas, f.Ppi, f.ClientWidth, f.PatternHeight, f.Level);
     },
     .Panels = {Group::White, Group::Point, Group::Balance}, .CentredPanel = Group::Point, .OpeningPoint = 240},
    {.TabKey = "TabShadows", .DesignTab = "Shadows", .HelpKey = "TShadows", .HelpColor = Grey(130),
     .WindowColor = Black, .HasGraph = true, .GraphBackground = Grey(1), .PointLine = true,
     .Painter = [](const TPatternFrame& f) {
       PaintShadowsPage(f.Canvas, f.Ppi, f.ClientWidth, f.PatternHeight, f.Level);
     },
     .Panels = {Group::Black, Group::Point, Group::Balance}, .CentredPanel = Group::Point, .OpeningPoint = 12},
    {.TabKey = "TabGradient", .DesignTab = "Gradient", .HelpKey = "TGradient", .HelpColor = Grey(130),
     .WindowColor = Grey(25), .HasGraph = true, .GraphBackground = Grey(25), .PointLine = true,
     .Painter = [](const TPatternFrame& f) {
       PaintGradientPage(f.Canvas, f.Ppi, f.ClientWidth, f.PatternHeight, f.Level);
     },
     .Panels = {Group::Black, Group::White, Group::Point, Group::Balance, Group::Gamma}, .CentredPanel = Group::Point},
    // The file label stands in for panels here (ShowPage).
    {.TabKey = "TabReferenceImage", .DesignTab = "Reference Image", .HelpKey = "TReferenceImage",
     .HelpColor = Grey(130), .WindowColor = Black,
     .Painter = [](const TPatternFrame& f) { PaintReferenceImage(f.Canvas, f.Reference, f.DisplayDC); },
     .SideWedges = true},
}};

const TPage& PageLook(int32_t page) {
  static constexpr TPage noPage{};
  if (page < 0 || page >= PageCount) return noPage;
  return Pages[page];
}
