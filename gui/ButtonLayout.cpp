#include "gui/ButtonLayout.h"

#include <algorithm>

TButtonContents LayoutButtonContents(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight,
                                     int textWidth, int textHeight, TButtonLayout layout, int margin, int spacing) {
  glyphWidth = std::max(glyphWidth, 0), glyphHeight = std::max(glyphHeight, 0);
  textWidth = std::max(textWidth, 0), textHeight = std::max(textHeight, 0);
  bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  // Along the layout axis: client C, glyph G, text T.
  int c = horizontal ? clientWidth : clientHeight;
  int g = horizontal ? glyphWidth : glyphHeight;
  int t = horizontal ? textWidth : textHeight;
  if (g == 0 || t == 0) spacing = 0;
  if (margin < 0) {
    if (spacing < 0) {
      margin = (c - (g + t)) / 3;
      spacing = margin;
    } else {
      margin = (c - (g + spacing + t)) / 2;
    }
  } else if (spacing < 0) {
    spacing = (c - (margin + g) - t) / 2;
  }
  // However small the button, the pair never overlaps or starts left of a left margin.
  margin = std::max(margin, 0);
  spacing = std::max(spacing, 0);

  TButtonContents r;
  int glyphAt, textAt;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    glyphAt = margin;
    textAt = glyphAt + g + spacing;
  } else {
    glyphAt = c - margin - g;
    textAt = glyphAt - spacing - t;
  }
  if (horizontal) {
    r.glyphX = glyphAt, r.textX = textAt;
    r.glyphY = (clientHeight - glyphHeight + 1) / 2;
    r.textY = (clientHeight - textHeight + 1) / 2;
  } else {
    r.glyphY = glyphAt, r.textY = textAt;
    r.glyphX = (clientWidth - glyphWidth + 1) / 2;
    r.textX = (clientWidth - textWidth + 1) / 2;
  }
  return r;
}
