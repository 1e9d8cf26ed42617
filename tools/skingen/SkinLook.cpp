#include "tools/skingen/SkinLook.h"

namespace skingen {

namespace {

Rgb H(uint32_t v) { return Rgb::hex(v); }

Look porcelain() {
    Look k;
    k.name = "Porcelain";
    k.folder = "porcelain";
    k.captionHeight = 28;
    k.borderLeft = k.borderRight = k.borderBottom = 4;
    k.radiusTop = 6;
    k.radiusBottom = 0;
    k.caption = CaptionStyle::Gloss;
    k.captionButtons = ButtonShape::Soft;
    k.captionButtonW = 27, k.captionButtonH = 20;
    k.captionTop = H(0xFFFFFF), k.captionBottom = H(0xD3DAE4);
    k.captionTopInactive = H(0xFAFBFC), k.captionBottomInactive = H(0xE6E9EE);
    k.border = H(0xC9D1DC), k.borderInactive = H(0xDCE0E6);
    k.outline = H(0x6F7F96), k.outlineInactive = H(0xA3ACB9);
    k.highlight = H(0xFFFFFF);
    k.titleText = H(0x1E2A3C), k.titleTextInactive = H(0x5F6978);
    k.glyph = H(0x33445C), k.glyphInactive = H(0x9AA3B0);
    k.closeHot = H(0xD9463E);
    k.face = H(0xF0F2F5), k.text = H(0x1C2430);
    k.buttonTop = H(0xFFFFFF), k.buttonBottom = H(0xE2E7EE), k.buttonBorder = H(0x98A6BA);
    k.accent = H(0x4A7BC8), k.focus = H(0x4A7BC8);
    k.window = H(0xFFFFFF);
    k.shadow = H(0xA9B3C1), k.light = H(0xFFFFFF), k.dkShadow = H(0x6A7688);
    k.menu = H(0xFAFBFC), k.menuText = H(0x1C2430), k.select = H(0xD6E3F7), k.selectText = H(0x10243F);
    k.progressFill = H(0x79A5E6), k.progressFillEnd = H(0x3F6FBC);
    k.controlRadius = 3;
    k.progressStyle = 0;
    k.tabsStyle = 0;
    return k;
}

Look graphite() {
    Look k;
    k.name = "Graphite";
    k.folder = "graphite";
    k.captionHeight = 28;
    k.borderLeft = k.borderRight = k.borderBottom = 2;
    k.radiusTop = k.radiusBottom = 0;
    k.caption = CaptionStyle::Flat;
    k.captionButtons = ButtonShape::Square;
    k.captionButtonW = 30, k.captionButtonH = 26;
    k.captionButtonGap = 0;
    k.captionTop = H(0x2B2E33), k.captionBottom = H(0x2B2E33);
    k.captionTopInactive = H(0x34373C), k.captionBottomInactive = H(0x34373C);
    k.border = H(0x2B2E33), k.borderInactive = H(0x34373C);
    k.outline = H(0x17181B), k.outlineInactive = H(0x25272B);
    k.highlight = H(0xF28C28);
    k.titleText = H(0xEDEFF2), k.titleTextInactive = H(0xA4A9B0);
    k.glyph = H(0xD8DBE0), k.glyphInactive = H(0x7D828A);
    k.closeHot = H(0xE0452F);
    k.face = H(0x3A3D42), k.text = H(0xE6E8EB);
    k.buttonTop = H(0x4C5057), k.buttonBottom = H(0x4C5057), k.buttonBorder = H(0x5E636B);
    k.accent = H(0xF28C28), k.focus = H(0xF28C28);
    k.window = H(0x2A2C30);
    k.shadow = H(0x26282C), k.light = H(0x5A5F67), k.dkShadow = H(0x151618);
    k.menu = H(0x33363B), k.menuText = H(0xE6E8EB), k.select = H(0xF28C28), k.selectText = H(0x1A1B1E);
    k.progressFill = H(0xF5A04A), k.progressFillEnd = H(0xE9781A);
    k.controlRadius = 0;
    k.progressStyle = 1;
    k.chunkTile = 0;
    k.tabsStyle = 1;
    k.flat = true;
    return k;
}

Look jade() {
    Look k;
    k.name = "Jade";
    k.folder = "jade";
    k.captionHeight = 30;
    k.borderLeft = k.borderRight = k.borderBottom = 6;
    k.radiusTop = 9;
    k.radiusBottom = 0;
    k.caption = CaptionStyle::Glass;
    k.captionButtons = ButtonShape::Glass;
    k.captionButtonW = 28, k.captionButtonH = 19;
    k.captionButtonGap = 3;
    k.captionTop = H(0x1F7D70), k.captionBottom = H(0x0C4A40);
    k.captionTopInactive = H(0x426B64), k.captionBottomInactive = H(0x2A4D47);
    k.border = H(0x12594D), k.borderInactive = H(0x5A8A81);
    k.outline = H(0x06302A), k.outlineInactive = H(0x3E655E);
    k.highlight = H(0x8EE3CF);
    k.titleText = H(0xFFFFFF), k.titleTextInactive = H(0xEEF5F3);
    k.glyph = H(0xFFFFFF), k.glyphInactive = H(0xD5E6E2);
    k.closeHot = H(0xC8372D);
    k.face = H(0xE6F4EF), k.text = H(0x153A33);
    k.buttonTop = H(0xFBFFFD), k.buttonBottom = H(0xCDE8DF), k.buttonBorder = H(0x5E9C8E);
    k.accent = H(0x1B8A76), k.focus = H(0xD4A72C);
    k.window = H(0xFFFFFF);
    k.shadow = H(0x93BFB3), k.light = H(0xFFFFFF), k.dkShadow = H(0x3E6E64);
    k.menu = H(0xF4FBF8), k.menuText = H(0x153A33), k.select = H(0x167463), k.selectText = H(0xFFFFFF);
    k.progressFill = H(0x53C29E), k.progressFillEnd = H(0x12806A);
    k.controlRadius = 4;
    k.progressStyle = 0;
    k.tabsStyle = 0;
    return k;
}

Look amber() {
    Look k;
    k.name = "Amber";
    k.folder = "amber";
    k.captionHeight = 29;
    k.borderLeft = k.borderRight = k.borderBottom = 5;
    k.radiusTop = 10;
    k.radiusBottom = 6;
    k.caption = CaptionStyle::Warm;
    k.captionButtons = ButtonShape::Round;
    k.captionButtonW = 20, k.captionButtonH = 20;
    k.captionButtonGap = 4;
    k.captionTop = H(0xF8C15A), k.captionBottom = H(0xEE7A58);
    k.captionTopInactive = H(0xF3D9B0), k.captionBottomInactive = H(0xE9BBA8);
    k.border = H(0xE98F5A), k.borderInactive = H(0xE5C4AE);
    k.outline = H(0x8E3B22), k.outlineInactive = H(0xB68F7E);
    k.highlight = H(0xFFE7B0);
    k.titleText = H(0x3E1C0C), k.titleTextInactive = H(0x6A4A3A);
    k.glyph = H(0x5A2812), k.glyphInactive = H(0x9C7F70);
    k.closeHot = H(0xA8322D);
    k.face = H(0xFBF3E4), k.text = H(0x3B2214);
    k.buttonTop = H(0xFFFBF3), k.buttonBottom = H(0xF3E0C2), k.buttonBorder = H(0xC59B72);
    k.accent = H(0xA8322D), k.focus = H(0xA8322D);
    k.window = H(0xFFFDF8);
    k.shadow = H(0xD5BC9C), k.light = H(0xFFFFFF), k.dkShadow = H(0x8A6A4C);
    k.menu = H(0xFFF9EE), k.menuText = H(0x3B2214), k.select = H(0xA8322D), k.selectText = H(0xFFFFFF);
    k.progressFill = H(0xF2A552), k.progressFillEnd = H(0xD9553C);
    k.controlRadius = 5;
    k.progressStyle = 1;
    k.chunkTile = 1;
    k.tabsStyle = 1;
    return k;
}

Look ink() {
    Look k;
    k.name = "Ink";
    k.folder = "ink";
    k.captionHeight = 30;
    k.borderLeft = k.borderRight = k.borderBottom = 4;
    k.radiusTop = k.radiusBottom = 0;
    k.caption = CaptionStyle::Ink;
    k.captionButtons = ButtonShape::Stamp;
    k.captionButtonW = 24, k.captionButtonH = 22;
    k.captionButtonGap = 3;
    k.captionTop = H(0xF4EEDF), k.captionBottom = H(0xEDE5D1);
    k.captionTopInactive = H(0xF4EEDF), k.captionBottomInactive = H(0xEEE8DA);
    k.border = H(0xE9E1CC), k.borderInactive = H(0xEEE8DA);
    k.outline = H(0x2B2925), k.outlineInactive = H(0x8D877C);
    k.highlight = H(0x2B2925);         // the brush stroke
    k.titleText = H(0xF7F1E3), k.titleTextInactive = H(0xF1ECE0);
    k.glyph = H(0x2B2925), k.glyphInactive = H(0x9A948A);
    k.closeHot = H(0xB3261E);
    k.face = H(0xF2ECDD), k.text = H(0x26231F);
    k.buttonTop = H(0xF8F4EA), k.buttonBottom = H(0xE8DFC9), k.buttonBorder = H(0x5D574D);
    k.accent = H(0xB3261E), k.focus = H(0xB3261E);
    k.window = H(0xFBF8F0);
    k.shadow = H(0xB9AF9A), k.light = H(0xFFFDF7), k.dkShadow = H(0x4A453D);
    k.menu = H(0xF7F2E6), k.menuText = H(0x26231F), k.select = H(0x3A3732), k.selectText = H(0xF7F1E3);
    k.progressFill = H(0x4D4943), k.progressFillEnd = H(0x24221F);
    k.controlRadius = 2;
    k.progressStyle = 1;
    k.chunkTile = 0;
    k.tabsStyle = 0;
    k.brush = true;
    return k;
}

} // namespace

const std::vector<Look>& allLooks() {
    static const std::vector<Look> looks = {porcelain(), graphite(), jade(), amber(), ink()};
    return looks;
}

} // namespace skingen
