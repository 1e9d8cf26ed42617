// Colour values of the library (portable).
//
// A TColor is 32 bits in the platform's layout (red in the low byte). A value
// whose top byte is 0xFF names a system colour by the index in its low byte
// (clBtnFace = 0xFF00000F); ColorToRGB (gui/Graphics.h) resolves those on
// Windows.
#pragma once

#include <cstdint>

using TColor = int32_t;

constexpr TColor TwSystemColour(int index) { return static_cast<TColor>(0xFF000000u | static_cast<uint32_t>(index)); }
constexpr bool IsSystemColour(TColor c) { return (static_cast<uint32_t>(c) >> 24) == 0xFF; }

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF;

constexpr TColor clScrollBar = TwSystemColour(0), clBackground = TwSystemColour(1),
                 clActiveCaption = TwSystemColour(2), clInactiveCaption = TwSystemColour(3),
                 clMenu = TwSystemColour(4), clWindow = TwSystemColour(5), clWindowFrame = TwSystemColour(6),
                 clMenuText = TwSystemColour(7), clWindowText = TwSystemColour(8),
                 clCaptionText = TwSystemColour(9), clActiveBorder = TwSystemColour(10),
                 clInactiveBorder = TwSystemColour(11), clAppWorkSpace = TwSystemColour(12),
                 clHighlight = TwSystemColour(13), clHighlightText = TwSystemColour(14),
                 clBtnFace = TwSystemColour(15), clBtnShadow = TwSystemColour(16),
                 clGrayText = TwSystemColour(17), clBtnText = TwSystemColour(18),
                 clInactiveCaptionText = TwSystemColour(19), clBtnHighlight = TwSystemColour(20),
                 cl3DDkShadow = TwSystemColour(21), cl3DLight = TwSystemColour(22),
                 clInfoText = TwSystemColour(23), clInfoBk = TwSystemColour(24),
                 clHotLight = TwSystemColour(26), clGradientActiveCaption = TwSystemColour(27),
                 clGradientInactiveCaption = TwSystemColour(28), clMenuHighlight = TwSystemColour(29),
                 clMenuBar = TwSystemColour(30);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
