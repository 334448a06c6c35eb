// A built-in text renderer with a fixed 5 x 7 block face, for the page
// renderer and tests: the same text in the same font height always gives the
// same pixels, on every machine.
//
// Each character takes a cell of 6 x 11 design units (a 5 x 7 glyph from the
// third row down, a descent row below it for the comma, one spacing column),
// stretched by nearest neighbour to a cell |Height| pixels high (11 when the
// height is 0) and (6 |Height| + 5) / 11 pixels wide. Coverage is 0 or 255.
// The face has digits, "(", ")", ",", "-", "." and space; any other character
// shows as a hollow box. The font's name is ignored.
#pragma once

#include "paint/text_renderer.h"

class TBlockFont : public TTextRenderer {
 public:
  TTextImage RenderText(const std::string& text, const TFont& font) override;
};
