// The five looks of the embedded skins: palette and shape parameters.
//
// Classes in this file:
//   Look - everything that makes one skin differ from another.
// Functions: allLooks (the five, in store order).
#pragma once

#include "tools/skingen/Canvas.h"

#include <string>
#include <vector>

namespace skingen {

enum class CaptionStyle { Gloss, Flat, Glass, Warm, Ink };
enum class ButtonShape { Soft, Square, Glass, Round, Stamp };

struct Look {
    std::string name;    // shown skin name
    std::string folder;  // lower-case folder and settings-file stem

    // Frame geometry in pixels.
    int captionHeight = 28;
    int borderLeft = 4, borderRight = 4, borderBottom = 4;
    int radiusTop = 0, radiusBottom = 0;  // 0: square corners (no key colour)
    CaptionStyle caption = CaptionStyle::Gloss;
    ButtonShape captionButtons = ButtonShape::Soft;
    int captionButtonW = 26, captionButtonH = 20, captionButtonGap = 2;

    // Frame colours (active, inactive).
    Rgb captionTop, captionBottom, captionTopInactive, captionBottomInactive;
    Rgb border, borderInactive, outline, outlineInactive, highlight;
    Rgb titleText, titleTextInactive;
    Rgb glyph, glyphInactive;      // caption-button symbols
    Rgb closeHot;                  // close button hot/pressed fill

    // Client colours.
    Rgb face;                      // ButtonFace
    Rgb text;                      // WindowText / ButtonText
    Rgb buttonTop, buttonBottom, buttonBorder;
    Rgb accent;                    // hot and selection tint
    Rgb focus;                     // focus ring
    Rgb window;                    // edit and list background
    Rgb shadow, light, dkShadow;
    Rgb menu, menuText, select, selectText;
    Rgb progressFill, progressFillEnd;

    int controlRadius = 3;         // buttons and boxes
    int progressStyle = 0;         // 0: two frames; 1: trough and chunk
    int chunkTile = 0;             // style 1: tiled blocks or one stretched bar
    int tabsStyle = 0;             // 0: pane from Tabs Border; 1: from Tab.Pane
    bool flat = false;             // no gradients on controls
    bool brush = false;            // ink-wash textures
};

const std::vector<Look>& allLooks();

} // namespace skingen
