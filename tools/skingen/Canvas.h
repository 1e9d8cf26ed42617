// Anti-aliased drawing surface for the skin generator.
//
// Classes in this file:
//   Rgb     - a colour with float channels 0..255.
//   Canvas  - a straight-alpha float surface with shape fills; exported as
//             24-bit pixels where uncovered pixels become the magenta key and
//             partly covered edge pixels are blended toward a matte colour
//             (never toward magenta, which would leave pink fringes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgb {
    float r = 0, g = 0, b = 0;
    constexpr Rgb() = default;
    constexpr Rgb(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
    static constexpr Rgb hex(uint32_t v) {
        return Rgb(float((v >> 16) & 0xFF), float((v >> 8) & 0xFF), float(v & 0xFF));
    }
};

Rgb mix(Rgb a, Rgb b, float t);           // a at t = 0, b at t = 1
Rgb lighten(Rgb c, float t);              // toward white
Rgb darken(Rgb c, float t);               // toward black
Rgb desaturate(Rgb c, float t);           // toward its own grey
uint32_t packRgb(Rgb c);                  // 0xRRGGBB, rounded and clamped

// Coverage of a pixel centre (x + 0.5, y + 0.5) by a shape, 0..1.
using Shape = std::function<float(float x, float y)>;
// Colour of a paint at a point.
using Paint = std::function<Rgb(float x, float y)>;

// Shapes, in canvas coordinates (pixel edges at integers).
Shape rectShape(float x0, float y0, float x1, float y1);
// Rounded rectangle; each corner radius may differ (tl, tr, br, bl).
Shape roundRect(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl);
Shape roundRect(float x0, float y0, float x1, float y1, float r);
Shape circle(float cx, float cy, float r);
// Capsule around the segment (x0,y0)-(x1,y1) of the given full width.
Shape segment(float x0, float y0, float x1, float y1, float width);
// Closed polygon, supersampled 4x4.
Shape polygon(std::vector<std::pair<float, float>> points);
// Ring: the band of a shape's outline, inside - inset.
Shape minus(Shape a, Shape b);
Shape unite(Shape a, Shape b);
Shape intersect(Shape a, Shape b);

Paint solid(Rgb c);
Paint vgrad(float y0, Rgb c0, float y1, Rgb c1);   // vertical linear gradient
Paint hgrad(float x0, Rgb c0, float x1, Rgb c1);
// Vertical gradient through several stops (y, colour), y ascending.
Paint vstops(std::vector<std::pair<float, Rgb>> stops);

class Canvas {
public:
    Canvas(int width, int height);

    int width() const { return w_; }
    int height() const { return h_; }

    // Paints `paint` where `shape` covers, with the given opacity.
    void fill(const Shape& shape, const Paint& paint, float opacity = 1.0f);
    void fill(const Shape& shape, Rgb colour, float opacity = 1.0f) { fill(shape, solid(colour), opacity); }
    // Fills the whole surface opaquely.
    void clear(Rgb colour);
    // Copies another canvas (all channels, alpha included) to (dx, dy).
    void blit(const Canvas& src, int dx, int dy);
    // Copies the rectangle (sx, sy, w, h) of src to (dx, dy).
    void blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);

    float alpha(int x, int y) const { return a_[idx(x, y)]; }
    Rgb at(int x, int y) const { return c_[idx(x, y)]; }

    // 24-bit export, rows top-down, 0xRRGGBB per pixel. A pixel whose
    // coverage is below `keyBelow` becomes 0xFF00FF; any other pixel is
    // composed over `matte`. Opaque output pixels never equal the key.
    std::vector<uint32_t> exportRgb(Rgb matte, float keyBelow = 0.3f) const;

private:
    size_t idx(int x, int y) const { return size_t(y) * size_t(w_) + size_t(x); }
    int w_, h_;
    std::vector<Rgb> c_;
    std::vector<float> a_;
};

} // namespace skingen
