// The generated skins as a user sees them: legible text, clean keyed edges,
// frames that stretch without smears, and the sizes 12-pixel text needs.
#include "skin/data/Bmp.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skingen/SkinArt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace skingen;

namespace {

// Relative luminance and contrast ratio of two 0xRRGGBB colours.
double luminance(uint32_t c) {
    auto ch = [](uint32_t v) {
        double s = double(v) / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * ch((c >> 16) & 0xFF) + 0.7152 * ch((c >> 8) & 0xFF) + 0.0722 * ch(c & 0xFF);
}
double contrast(uint32_t a, uint32_t b) {
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct Built {
    SkinSource src;
    TQuickIni ini;
    std::map<std::string, const Picture*> images;

    explicit Built(const Look& look) : src(buildSkin(look)) {
        ini.LoadFromText(src.ini);
        for (const auto& [name, pic] : src.images) images[name] = &pic;
    }
    const Picture& image(const std::string& section, const std::string& key) const {
        std::string file = ini.ReadString(section, key, "");
        auto it = images.find(file);
        if (it == images.end()) throw std::runtime_error("no image for [" + section + "] " + key);
        return *it->second;
    }
    int integer(const std::string& section, const std::string& key) const { return ini.ReadInteger(section, key, -999); }
    uint32_t colour(const std::string& section, const std::string& key) const {
        TColour c = ColourFromText(ini.ReadString(section, key, ""), 0);
        return PixelFromColour(c);
    }
};

// Centre pixel of frame k (1-based) of a horizontal strip of n frames.
uint32_t frameCentre(const Picture& p, int n, int k) {
    int fw = p.width / n;
    return p.at((k - 1) * fw + fw / 2, p.height / 2);
}

bool isMagenta(uint32_t p) { return p == 0xFF00FF; }

class Look_ : public ::testing::TestWithParam<int> {
protected:
    const Look& look() const { return allLooks()[size_t(GetParam())]; }
};

TEST_P(Look_, NoEdgePixelIsBlendedTowardTheKeyColour) {
    Built b(look());
    for (const auto& [name, pic] : b.src.images) {
        int fringe = 0;
        for (uint32_t p : pic.pixels) {
            int r = int(p >> 16) & 0xFF, g = int(p >> 8) & 0xFF, bl = int(p) & 0xFF;
            if (!isMagenta(p) && r > 170 && bl > 170 && g < 110 && std::abs(r - bl) < 50) ++fringe;
        }
        EXPECT_EQ(fringe, 0) << name << " has pink fringe pixels";
    }
}

TEST_P(Look_, CaptionTextIsLegibleWhereItIsDrawn) {
    Built b(look());
    const Picture& top = b.image("Personality", "Top");
    const int ch = top.height / 2, bl = look().borderLeft;
    const uint32_t text[2] = {packRgb(look().titleText), packRgb(look().titleTextInactive)};
    // The text starts at TextShift (window coordinates) and is about 12 pixels high, centred.
    int x0 = b.integer("Personality", "TextShift") - bl;
    for (int frame = 0; frame < 2; ++frame) {
        double worst = 100;
        for (int x = x0; x < std::min(x0 + 80, top.width); ++x)
            for (int y = (ch - 12) / 2; y < (ch + 12) / 2; ++y)
                worst = std::min(worst, contrast(text[frame], top.at(x, frame * ch + y)));
        EXPECT_GE(worst, 4.5) << (frame ? "inactive" : "active") << " caption";
    }
    // The caption band is 26 to 30 pixels, buttons at least 21 high.
    EXPECT_GE(ch, 26);
    EXPECT_LE(ch, 30);
    EXPECT_GE(b.image("Buttons", "Bitmap").height, 21);
}

TEST_P(Look_, ControlTextIsLegibleOnItsBackground) {
    Built b(look());
    const Picture& buttons = b.image("Buttons", "Bitmap");
    EXPECT_GE(contrast(b.colour("Buttons", "NormalColour2"), frameCentre(buttons, 5, 1)), 4.5) << "normal button";
    EXPECT_GE(contrast(b.colour("Buttons", "MouseOverColour2"), frameCentre(buttons, 5, 4)), 4.5) << "hot button";
    EXPECT_GE(contrast(b.colour("Buttons", "PressedColour2"), frameCentre(buttons, 5, 2)), 4.5) << "pressed button";
    EXPECT_GE(contrast(b.colour("Colours", "WindowText"), b.colour("Colours", "ButtonFace")), 4.5) << "labels";
    EXPECT_GE(contrast(b.colour("Colours", "ButtonText"), b.colour("Colours", "ButtonFace")), 4.5)
        << "captions and labels on the skinned face";
    EXPECT_GE(contrast(b.colour("Colours", "MenuText"), b.colour("Colours", "Menu")), 4.5) << "menu";
    EXPECT_GE(contrast(b.colour("Colours", "HilightText"), b.colour("Colours", "Hilight")), 4.5) << "selection";
    EXPECT_GE(contrast(b.colour("Colours", "HilightText"), frameCentre(b.image("MenuItem", "Image"), 5, 4)), 4.5)
        << "selected menu item";
    const Picture& menuBar = b.image("Personality", "menuBar");
    EXPECT_GE(contrast(b.colour("Colours", "MenuBarText"), menuBar.at(menuBar.width / 2, menuBar.height / 4)), 4.5)
        << "menu bar";
    const Picture& tabs = b.image("Tabs", "Image");
    EXPECT_GE(contrast(b.colour("Tabs", "NormalColour2"), frameCentre(tabs, 5, 1)), 4.5) << "tab";
    EXPECT_GE(contrast(b.colour("Tabs", "MouseOverColour2"), frameCentre(tabs, 5, 2)), 4.5) << "selected tab";
}

TEST_P(Look_, KeyColourOnlyWhereItIsDrawnTransparent) {
    Built b(look());
    auto hasKey = [](const Picture& p) { return std::any_of(p.pixels.begin(), p.pixels.end(), isMagenta); };
    // Frame borders: magenta shows as magenta unless the border is transparent.
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
        bool keyed = hasKey(b.image("Personality", side));
        EXPECT_EQ(keyed, b.integer("Personality", std::string(side) + "Trans") == 1) << side;
    }
    // Elements painted with their Trans setting.
    for (const char* section : {"Buttons", "Tabs", "ToolBars", "SunkEdge", "ComboButton", "MenuItem",
                                "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb", "GroupBoxEdge"}) {
        std::string key = std::string(section) == "Buttons" ? "Bitmap" : "Image";
        if (hasKey(b.image(section, key))) {
            EXPECT_EQ(b.integer(section, "Trans"), 1) << section;
        }
    }
    // Elements the painters always copy opaquely.
    for (auto [section, key] : {std::pair{"Headerbar", "Image"}, {"MenuBackground", "Image"}, {"StatusBarEdges", "Image"},
                                {"Tab.Pane", "Image"}, {"Tabs", "Border"}, {"Personality", "menuBar"},
                                {"Track", "Image"}, {"TRACKVERT", "Image"}})
        EXPECT_FALSE(hasKey(b.image(section, key))) << section << " " << key;
}

TEST_P(Look_, StretchedAndTiledMiddlesShowNoSeams) {
    Built b(look());
    for (int frame = 0; frame < 2; ++frame) {
        // Side borders: every row between the unscaled ends is the same.
        for (const char* side : {"Left", "Right"}) {
            const Picture& p = b.image("Personality", side);
            int fw = p.width / 2, t = b.integer("Personality", std::string(side) + "TopHeight"),
                bt = b.integer("Personality", std::string(side) + "BotHeight");
            for (int y = t + 1; y < p.height - bt; ++y)
                for (int x = 0; x < fw; ++x)
                    ASSERT_EQ(p.at(frame * fw + x, y), p.at(frame * fw + x, t)) << side << " row " << y;
        }
        const Picture& top = b.image("Personality", "Top");
        int ch = top.height / 2, l = b.integer("Personality", "TopTopHeight"), r = b.integer("Personality", "TopBotHeight");
        int middle = top.width - l - r;
        ASSERT_GT(middle, 0);
        for (int y = 0; y < ch; ++y) {
            if (b.integer("Personality", "TopStretch") == 1) {
                // Stretched: the middle columns are all alike.
                for (int x = l + 1; x < l + middle; ++x)
                    ASSERT_EQ(top.at(x, frame * ch + y), top.at(l, frame * ch + y)) << "top column " << x;
            } else {
                // Tiled: the middle repeats seamlessly into the right end.
                ASSERT_EQ(top.at(l + middle, frame * ch + y), top.at(l, frame * ch + y)) << "tile seam, row " << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllFive, Look_, ::testing::Range(0, 5),
                         [](const ::testing::TestParamInfo<int>& i) { return allLooks()[size_t(i.param)].name; });

TEST(SkinLooks, AtLeastTwoSkinsHaveKeyedRoundedCornersAndTheFiveDiffer) {
    int keyed = 0;
    std::set<uint32_t> faces, captions;
    for (const Look& look : allLooks()) {
        Built b(look);
        const Picture& left = b.image("Personality", "Left");
        if (isMagenta(left.at(0, 0)) && !isMagenta(left.at(left.width / 2 - 1, left.height / 2))) ++keyed;
        faces.insert(packRgb(look.face));
        const Picture& top = b.image("Personality", "Top");
        captions.insert(top.at(top.width / 2, top.height / 4));
    }
    EXPECT_GE(keyed, 2);
    EXPECT_EQ(faces.size(), 5u);
    EXPECT_EQ(captions.size(), 5u);
}

TEST(SkinLooks, ProgressStylesAreMixed) {
    std::set<int> styles;
    for (const Look& look : allLooks()) {
        Built b(look);
        styles.insert(b.integer("Progress", "Style"));
        if (b.integer("Progress", "Style") == 1) {
            EXPECT_NO_THROW(b.image("Progress.Chunk", "Image"));
        }
    }
    EXPECT_EQ(styles, (std::set<int>{0, 1}));
}

} // namespace
