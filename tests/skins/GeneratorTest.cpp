// The generator's drawing surface and BMP output, read back by the
// program's own BMP reader.
#include "skin/data/Bmp.h"
#include "tools/skingen/BmpOut.h"
#include "tools/skingen/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace skingen;

namespace {

float coverageSum(const Shape& s, int w, int h) {
    float sum = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sum += s(x + 0.5f, y + 0.5f);
    return sum;
}

TEST(Canvas, ShapesCoverTheirAreaWithSoftEdges) {
    // A rectangle on half pixels covers exactly its area.
    EXPECT_NEAR(coverageSum(rectShape(1.5f, 2.0f, 9.5f, 6.5f), 12, 10), 8.0f * 4.5f, 1e-3f);
    // A circle and a rounded rectangle come within a pixel's worth of their areas.
    EXPECT_NEAR(coverageSum(circle(10, 10, 6), 20, 20), 3.14159f * 36, 1.5f);
    float r = 4;
    EXPECT_NEAR(coverageSum(roundRect(0, 0, 20, 12, r), 20, 12), 240 - (4 - 3.14159f) * r * r, 1.5f);
    // Edges are anti-aliased: some pixels are neither in nor out.
    int partial = 0;
    Shape c = circle(10, 10, 6);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) partial += c(x + 0.5f, y + 0.5f) > 0.05f && c(x + 0.5f, y + 0.5f) < 0.95f;
    EXPECT_GT(partial, 20);
}

TEST(Canvas, ExportKeysUncoveredPixelsAndBlendsEdgesTowardTheMatte) {
    Canvas c(12, 12);
    c.fill(circle(6, 6, 5), Rgb::hex(0x000000));
    std::vector<uint32_t> px = c.exportRgb(Rgb::hex(0x808080));
    EXPECT_EQ(px[0], 0xFF00FFu) << "corner outside the circle is the key";
    EXPECT_EQ(px[6 * 12 + 6], 0x000000u) << "centre is the fill";
    int blended = 0;
    for (uint32_t p : px) {
        if (p == 0xFF00FF || p == 0) continue;
        // Edge pixels lie between the fill and the grey matte: never pinkish.
        int r = int(p >> 16), g = int(p >> 8) & 0xFF, b = int(p) & 0xFF;
        EXPECT_EQ(r, g);
        EXPECT_EQ(g, b);
        EXPECT_LE(r, 0x80);
        ++blended;
    }
    EXPECT_GT(blended, 0);
    // A drawn pixel that happens to be the key colour is nudged off it.
    Canvas m(1, 1);
    m.fill(rectShape(0, 0, 1, 1), Rgb::hex(0xFF00FF));
    EXPECT_NE(m.exportRgb(Rgb())[0], 0xFF00FFu);
}

TEST(BmpOut, TwentyFourBitRoundTripWithPaddedRows) {
    for (int w : {1, 2, 3, 5, 17}) {
        Picture p(w, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x) p.at(x, y) = uint32_t((x * 40 + 1) & 0xFF) << 16 | uint32_t(y * 70) << 8 | uint32_t(x + y);
        Image img;
        std::vector<uint8_t> bytes = encodeBmp24(p);
        ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), img)) << w;
        ASSERT_EQ(img.Width(), w);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < w; ++x) EXPECT_EQ(PixelRGB(img.Pixel(x, y)), p.at(x, y)) << w << ":" << x << "," << y;
    }
}

TEST(BmpOut, PaletteImagesRoundTripAndRejectForeignColours) {
    const std::vector<uint32_t> two = {0x000000, 0xFFFFFF};
    const std::vector<uint32_t> sixteen = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    for (int bits : {1, 4}) {
        const auto& pal = bits == 1 ? two : sixteen;
        for (int w : {3, 9, 33}) {
            Picture p(w, 5);
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < w; ++x) p.at(x, y) = pal[size_t(x * 7 + y * 3) % pal.size()];
            std::vector<uint8_t> bytes = encodeBmpIndexed(p, bits, pal);
            EXPECT_EQ(bytes[28], bits);
            Image img;
            ASSERT_TRUE(DecodeBmp(bytes.data(), bytes.size(), img)) << bits << "/" << w;
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(PixelRGB(img.Pixel(x, y)), p.at(x, y)) << bits << "/" << w << ":" << x << "," << y;
        }
    }
    Picture odd(2, 2, 0x123456);
    EXPECT_THROW(encodeBmpIndexed(odd, 1, two), std::invalid_argument);
    EXPECT_THROW(encodeBmpIndexed(odd, 8, two), std::invalid_argument);
}

} // namespace
