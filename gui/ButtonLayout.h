// Where a button's glyph and caption go (portable, pure arithmetic).
//
// Functions in this file:
//   LayoutButtonContents  glyph and text positions from the client size, their
//                         sizes, the layout, Margin and Spacing (-1 = automatic)
#pragma once

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct TButtonContents {
  int glyphX = 0, glyphY = 0;
  int textX = 0, textY = 0;
};

// Margin -1 centres the pair (with Spacing -1 as well: margin and spacing
// share the free room equally); an explicit Margin with Spacing -1 centres
// the text in the room after the glyph. A missing glyph or text has no
// spacing. Along the other axis both are centred.
TButtonContents LayoutButtonContents(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight,
                                     int textWidth, int textHeight, TButtonLayout layout, int margin, int spacing);
