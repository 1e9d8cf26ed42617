#include "tools/skingen/SkinArt.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

namespace skingen {

namespace {

enum St { Normal, Hot, Pressed, Disabled, Focused };
enum Dir { Left, Right, Up, Down };

const Rgb kWhite(255, 255, 255);
const Rgb kBlack(0, 0, 0);
const Rgb kCornerMatte(128, 128, 128);

// ---------------------------------------------------------------- pictures

Picture toPicture(const Canvas& c, Rgb matte) {
    Picture p(c.width(), c.height());
    p.pixels = c.exportRgb(matte);
    return p;
}

Picture hstrip(const std::vector<Picture>& frames) {
    int w = 0, h = 0;
    for (const Picture& f : frames) w += f.width, h = std::max(h, f.height);
    Picture out(w, h, 0xFF00FF);
    int x0 = 0;
    for (const Picture& f : frames) {
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) out.at(x0 + x, y) = f.at(x, y);
        x0 += f.width;
    }
    return out;
}

Picture vstrip(const std::vector<Picture>& frames) {
    int w = 0, h = 0;
    for (const Picture& f : frames) h += f.height, w = std::max(w, f.width);
    Picture out(w, h, 0xFF00FF);
    int y0 = 0;
    for (const Picture& f : frames) {
        for (int y = 0; y < f.height; ++y)
            for (int x = 0; x < f.width; ++x) out.at(x, y0 + y) = f.at(x, y);
        y0 += f.height;
    }
    return out;
}

// Renders `frames` cells of w x h with draw(canvas, frameIndex) and keys them.
Picture cells(int count, int w, int h, Rgb matte, const std::function<void(Canvas&, int)>& draw) {
    std::vector<Picture> frames;
    for (int i = 0; i < count; ++i) {
        Canvas c(w, h);
        draw(c, i);
        frames.push_back(toPicture(c, matte));
    }
    return hstrip(frames);
}

// ------------------------------------------------------------------- noise

float hash01(int x, int y) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + 0x9E3779B9u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return float(h & 0xFFFF) / 65535.0f;
}

// Smooth value noise; wraps every `period` cells in x when period > 0.
float vnoise(float x, float y, int period) {
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - float(ix), fy = y - float(iy);
    auto wrap = [&](int v) { return period > 0 ? ((v % period) + period) % period : v; };
    auto s = [](float t) { return t * t * (3 - 2 * t); };
    float a = hash01(wrap(ix), iy), b = hash01(wrap(ix + 1), iy);
    float c = hash01(wrap(ix), iy + 1), d = hash01(wrap(ix + 1), iy + 1);
    float u = s(fx), v = s(fy);
    return (a * (1 - u) + b * u) * (1 - v) + (c * (1 - u) + d * u) * v;
}

// ----------------------------------------------------------------- helpers

float clampf(float v, float lo, float hi) { return std::max(lo, std::min(hi, v)); }

struct FaceColours {
    Rgb top, bottom, edge, ring;
    bool ring_ = false;
    bool shine = true;
    bool pressedShadow = false;
};

FaceColours faceColours(const Look& k, St s) {
    FaceColours f{k.buttonTop, k.buttonBottom, k.buttonBorder, k.focus};
    f.shine = !k.flat;
    switch (s) {
    case Normal: break;
    case Hot:
        if (k.flat) {
            f.top = f.bottom = lighten(k.buttonTop, 0.10f);
            f.edge = mix(k.buttonBorder, k.accent, 0.45f);
        } else {
            f.top = lighten(mix(k.buttonTop, k.accent, 0.06f), 0.3f);
            f.bottom = mix(k.buttonBottom, k.accent, 0.16f);
            f.edge = mix(k.buttonBorder, k.accent, 0.65f);
        }
        break;
    case Pressed:
        if (k.flat) {
            f.top = f.bottom = darken(k.buttonTop, 0.22f);
            f.edge = k.accent;
        } else {
            f.top = darken(mix(k.buttonBottom, k.accent, 0.22f), 0.10f);
            f.bottom = mix(k.buttonBottom, k.accent, 0.10f);
            f.edge = darken(mix(k.buttonBorder, k.accent, 0.5f), 0.15f);
            f.shine = false;
            f.pressedShadow = true;
        }
        break;
    case Disabled:
        f.top = mix(desaturate(k.buttonTop, 0.8f), k.face, 0.5f);
        f.bottom = mix(desaturate(k.buttonBottom, 0.8f), k.face, 0.5f);
        f.edge = mix(desaturate(k.buttonBorder, 0.8f), k.face, 0.45f);
        f.shine = false;
        break;
    case Focused:
        f.ring_ = true;
        f.edge = k.flat ? k.focus : mix(k.buttonBorder, k.focus, 0.55f);
        break;
    }
    return f;
}

// A push-button-like face in (x0, y0)-(x1, y1).
void drawFace(Canvas& c, const Look& k, float x0, float y0, float x1, float y1, float r, St s) {
    FaceColours f = faceColours(k, s);
    float r1 = std::max(r - 1, 0.0f), r2 = std::max(r - 2, 0.0f);
    c.fill(roundRect(x0, y0, x1, y1, r), f.edge);
    c.fill(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1), vgrad(y0 + 1, f.top, y1 - 1, f.bottom));
    if (f.shine)
        c.fill(intersect(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1), rectShape(x0 + 1, y0 + 1, x1 - 1, y0 + 2)),
               kWhite, 0.75f);
    if (f.pressedShadow)
        c.fill(intersect(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1), rectShape(x0 + 1, y0 + 1, x1 - 1, y0 + 3)),
               darken(f.top, 0.25f), 0.45f);
    if (f.ring_)
        c.fill(minus(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1), roundRect(x0 + 2, y0 + 2, x1 - 2, y1 - 2, r2)),
               f.ring, 0.9f);
    if (k.brush) {
        // A faint dry-brush grain along the bottom edge.
        c.fill(intersect(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r1), rectShape(x0 + 1, y1 - 2, x1 - 1, y1 - 1)),
               darken(f.bottom, 0.12f), 0.5f);
    }
}

// Filled triangle arrow centred on (cx, cy); `s` is half its base.
void arrow(Canvas& c, float cx, float cy, float s, Dir d, Rgb col, float opacity = 1) {
    float h = s * 0.55f + 0.5f;
    std::vector<std::pair<float, float>> p;
    switch (d) {
    case Down: p = {{cx - s, cy - h}, {cx + s, cy - h}, {cx, cy + h}}; break;
    case Up: p = {{cx - s, cy + h}, {cx + s, cy + h}, {cx, cy - h}}; break;
    case Left: p = {{cx + h, cy - s}, {cx + h, cy + s}, {cx - h, cy}}; break;
    case Right: p = {{cx - h, cy - s}, {cx - h, cy + s}, {cx + h, cy}}; break;
    }
    c.fill(polygon(p), col, opacity);
}

St stateOf4(int i) {  // common 4-state order: normal, pressed, disabled, hot
    static const St order[] = {Normal, Pressed, Disabled, Hot};
    return order[i % 4];
}

Rgb glyphFor(const Look& k, St s) {
    if (s == Disabled) return mix(k.text, k.face, 0.55f);
    if (s == Hot || s == Pressed) return k.flat ? k.accent : darken(mix(k.text, k.accent, 0.5f), 0.1f);
    return k.text;
}

// ------------------------------------------------------------ window frame

struct FrameLayout {
    int topLeftLen, topRightLen;   // unscaled ends of the caption piece
    int middle;                    // its stretched or tiled middle
    int width, height;             // the model window
    int leftTop, leftBottom;       // unscaled ends of the side pieces
    int bottomLeftLen, bottomRightLen;
};

FrameLayout frameLayout(const Look& k) {
    FrameLayout f;
    f.topLeftLen = k.brush ? 40 : std::max(k.radiusTop + 8, 16);
    f.topRightLen = k.brush ? 150 : std::max(k.radiusTop + 8, 16);
    f.middle = 64;
    f.width = k.borderLeft + f.topLeftLen + f.middle + f.topRightLen + k.borderRight;
    f.height = k.captionHeight + 40 + k.borderBottom;
    f.leftTop = k.captionHeight + 3;
    f.leftBottom = k.borderBottom + std::max(k.radiusBottom, 2);
    f.bottomLeftLen = std::max(k.radiusBottom + 2, 4);
    f.bottomRightLen = f.bottomLeftLen;
    return f;
}

// The ink-wash stroke of the caption: coverage and ink density at a point.
// Periodic over the tiled middle of the caption piece.
struct InkStroke {
    const Look& k;
    FrameLayout f;
    bool active;
    float start() const { return float(k.borderLeft + 3); }
    float end() const { return float(f.width - k.borderRight - 102); }
    float phase(float x) const { return x - float(k.borderLeft + f.topLeftLen); }
    float coverage(float x, float y) const {
        float xm = phase(x);
        float top = 5.0f + 2.2f * vnoise(xm / 8, 0.5f, 8);
        float bot = float(k.captionHeight) - 4.5f - 2.2f * vnoise(xm / 8, 7.5f, 8);
        // Brush head: a rounded start.
        float xs = start();
        if (x < xs + 8) {
            float t = clampf((x - xs) / 8, 0, 1);
            float squeeze = (1 - std::sqrt(1 - (1 - t) * (1 - t))) * (bot - top) * 0.5f;
            top += squeeze, bot -= squeeze;
        }
        // Tail: the stroke narrows and breaks into dry streaks.
        float xe = end();
        float tail = clampf((x - (xe - 44)) / 44, 0, 1);
        if (tail > 0) {
            float mid = (top + bot) / 2 + tail * 2.5f;
            float half = (bot - top) / 2 * (1 - 0.75f * tail * tail);
            top = mid - half, bot = mid + half;
        }
        float cov = clampf(std::min(y - top, bot - y) + 0.5f, 0, 1);
        if (x < xs || x > xe) cov = 0;
        if (tail > 0) {
            float streak = vnoise(x / 26, y * 0.9f, 0);
            if (streak < tail * 0.9f) cov *= clampf(1 - (tail * 0.9f - streak) * 6, 0, 1);
        }
        return cov;
    }
    Rgb colour(float x, float y) const {
        Rgb ink = active ? Rgb::hex(0x24221F) : Rgb::hex(0x5E5952);
        float xm = phase(x);
        float streak = vnoise(xm / 16, y * 0.8f, 4);
        float grain = vnoise(xm / 2, y / 2, 32);
        Rgb light = mix(ink, k.captionTop, active ? 0.16f : 0.12f);
        return mix(ink, light, clampf(streak * 0.7f + grain * 0.3f - 0.25f, 0, 1));
    }
};

Rgb paper(const Look& k, float x, float y, int phase0, bool active) {
    float xm = x - float(phase0);
    float fibre = vnoise(xm / 4, y / 4, 16) * 0.6f + vnoise(xm / 2, y / 1.5f, 32) * 0.4f;
    Rgb base = mix(active ? k.captionTop : k.captionTopInactive, active ? k.captionBottom : k.captionBottomInactive,
                   clampf(y / float(k.captionHeight), 0, 1));
    return mix(base, darken(base, 0.05f), fibre);
}

Canvas renderFrame(const Look& k, bool active) {
    FrameLayout f = frameLayout(k);
    const int W = f.width, H = f.height, CH = k.captionHeight;
    const float rT = float(k.radiusTop), rB = float(k.radiusBottom);
    Canvas c(W, H);
    Shape outer = roundRect(0, 0, float(W), float(H), rT, rT, rB, rB);
    Shape inner = roundRect(1, 1, float(W - 1), float(H - 1), std::max(rT - 1, 0.f), std::max(rT - 1, 0.f),
                            std::max(rB - 1, 0.f), std::max(rB - 1, 0.f));
    Rgb border = active ? k.border : k.borderInactive;
    Rgb outline = active ? k.outline : k.outlineInactive;
    Rgb top = active ? k.captionTop : k.captionTopInactive;
    Rgb bottom = active ? k.captionBottom : k.captionBottomInactive;
    const int phase0 = k.borderLeft + f.topLeftLen;

    if (k.brush) {
        // Fibre texture in the caption band only: the sides and bottom stretch.
        c.fill(outer, border);
        c.fill(intersect(outer, rectShape(0, 0, float(W), float(CH))),
               [&](float x, float y) { return paper(k, x, y, phase0, active); });
    } else {
        c.fill(outer, border);
    }
    Shape band = intersect(outer, rectShape(0, 0, float(W), float(CH)));
    switch (k.caption) {
    case CaptionStyle::Gloss:
        c.fill(band, vstops({{0, top}, {CH * 0.45f, mix(top, bottom, 0.45f)}, {float(CH), bottom}}));
        break;
    case CaptionStyle::Flat:
        c.fill(band, top);
        break;
    case CaptionStyle::Glass:
        c.fill(band, vstops({{1, lighten(top, 0.18f)},
                             {CH * 0.46f, mix(top, bottom, 0.30f)},
                             {CH * 0.50f, mix(top, bottom, 0.62f)},
                             {float(CH), bottom}}));
        break;
    case CaptionStyle::Warm:
        c.fill(band, vstops({{0, lighten(top, 0.15f)}, {CH * 0.35f, top}, {float(CH), bottom}}));
        break;
    case CaptionStyle::Ink: {
        InkStroke stroke{k, f, active};
        c.fill([&](float x, float y) { return y < CH ? stroke.coverage(x, y) : 0.0f; },
               [&](float x, float y) { return stroke.colour(x, y); });
        break;
    }
    }
    // Lower border: a bevel across its width (lighter outside, darker toward
    // the client), the same all along so stretching shows no smear.
    if (!k.flat && !k.brush) {
        Shape lower = intersect(outer, rectShape(0, float(CH), float(W), float(H)));
        float depth = float(std::max({k.borderLeft, k.borderRight, k.borderBottom}));
        c.fill(lower, [&](float x, float y) {
            float d = std::min({x, float(W) - x, float(H) - y});
            return mix(lighten(border, 0.12f), darken(border, 0.10f), clampf(d / depth, 0, 1));
        });
    }
    // Highlight line under the outline.
    if (k.caption == CaptionStyle::Gloss || k.caption == CaptionStyle::Glass || k.caption == CaptionStyle::Warm)
        c.fill(intersect(inner, rectShape(0, 1, float(W), 2)), active ? k.highlight : lighten(top, 0.4f), 0.85f);
    if (k.caption == CaptionStyle::Flat && active)
        c.fill(intersect(inner, rectShape(0, 1, float(W), 2)), k.highlight);
    // Caption bottom edge, then the line around the client area.
    if (k.borderLeft >= 3) {
        if (!k.brush)
            c.fill(rectShape(1, float(CH - 1), float(W - 1), float(CH)), darken(bottom, 0.18f), 0.6f);
        Shape client = rectShape(float(k.borderLeft), float(CH), float(W - k.borderRight), float(H - k.borderBottom));
        Shape ring = minus(rectShape(float(k.borderLeft - 1), float(CH - 1), float(W - k.borderRight + 1),
                                     float(H - k.borderBottom + 1)),
                           client);
        c.fill(ring, k.brush ? outline : darken(border, 0.28f), k.brush ? 0.55f : 0.8f);
        c.fill(client, k.face);
    }
    // Outline last so it stays crisp over everything.
    c.fill(minus(outer, inner), outline);
    return c;
}

struct FrameImages {
    Picture top, bottom, left, right;
};

FrameImages frameImages(const Look& k) {
    FrameLayout f = frameLayout(k);
    FrameImages out;
    std::vector<Picture> tops, bottoms, lefts, rights;
    for (bool active : {true, false}) {
        Canvas c = renderFrame(k, active);
        Picture whole = toPicture(c, kCornerMatte);
        auto cut = [&](int x0, int y0, int w, int h) {
            Picture p(w, h);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) p.at(x, y) = whole.at(x0 + x, y0 + y);
            return p;
        };
        int innerW = f.width - k.borderLeft - k.borderRight;
        tops.push_back(cut(k.borderLeft, 0, innerW, k.captionHeight));
        bottoms.push_back(cut(k.borderLeft, f.height - k.borderBottom, innerW, k.borderBottom));
        lefts.push_back(cut(0, 0, k.borderLeft, f.height));
        rights.push_back(cut(f.width - k.borderRight, 0, k.borderRight, f.height));
    }
    out.top = vstrip(tops);
    out.bottom = vstrip(bottoms);
    out.left = hstrip(lefts);
    out.right = hstrip(rights);
    return out;
}

// --------------------------------------------------------- caption buttons

enum class Cap { Close, Max, Restore, Min };

void capGlyph(Canvas& c, Cap g, float cx, float cy, Rgb col, bool brush) {
    float w = brush ? 1.9f : 1.5f;
    switch (g) {
    case Cap::Close:
        c.fill(segment(cx - 4, cy - 4, cx + 4, cy + 4, w), col);
        c.fill(segment(cx + 4, cy - 4, cx - 4, cy + 4, w), col);
        break;
    case Cap::Max: {
        float x0 = std::floor(cx - 5), y0 = std::floor(cy - 4);
        c.fill(minus(rectShape(x0, y0, x0 + 10, y0 + 9), rectShape(x0 + 1, y0 + 2, x0 + 9, y0 + 8)), col);
        break;
    }
    case Cap::Restore: {
        float x0 = std::floor(cx - 5), y0 = std::floor(cy - 5);
        Shape back = minus(rectShape(x0 + 3, y0, x0 + 11, y0 + 7), rectShape(x0 + 4, y0 + 2, x0 + 10, y0 + 6));
        Shape front = rectShape(x0, y0 + 3, x0 + 8, y0 + 11);
        c.fill(minus(back, front), col);
        c.fill(minus(front, rectShape(x0 + 1, y0 + 5, x0 + 7, y0 + 10)), col);
        break;
    }
    case Cap::Min: {
        float x0 = std::floor(cx - 5), y0 = std::floor(cy + 2);
        c.fill(rectShape(x0, y0, x0 + 10, y0 + 2), col);
        break;
    }
    }
}

// Frames: 1 normal, 2 pressed, 3 hot, 4 inactive.
Picture captionButton(const Look& k, Cap g) {
    const int W = k.captionButtonW, H = k.captionButtonH;
    bool close = g == Cap::Close;
    // The caption colour behind the button, for keyed edges.
    float yMid = float(k.captionHeight) / 2;
    auto behind = [&](bool active) {
        Rgb t = active ? k.captionTop : k.captionTopInactive, b = active ? k.captionBottom : k.captionBottomInactive;
        if (k.brush) return t;
        return mix(t, b, yMid / float(k.captionHeight));
    };
    std::vector<Picture> frames;
    for (int i = 0; i < 4; ++i) {
        bool inactive = i == 3;
        St s = i == 1 ? Pressed : i == 2 ? Hot : Normal;
        Canvas c(W, H);
        float cx = W / 2.0f, cy = H / 2.0f;
        Rgb glyph = inactive ? k.glyphInactive : k.glyph;
        switch (k.captionButtons) {
        case ButtonShape::Soft: {
            if (s != Normal) {
                Rgb fill = close ? (s == Pressed ? darken(k.closeHot, 0.18f) : k.closeHot)
                                 : (s == Pressed ? mix(k.accent, kWhite, 0.55f) : mix(k.accent, kWhite, 0.80f));
                Rgb edge = close ? darken(k.closeHot, 0.3f) : mix(k.accent, kWhite, s == Pressed ? 0.2f : 0.45f);
                c.fill(roundRect(0, 0, float(W), float(H), 3), edge);
                c.fill(roundRect(1, 1, float(W - 1), float(H - 1), 2), vgrad(1, lighten(fill, 0.25f), float(H), fill));
                if (close) glyph = kWhite;
            }
            break;
        }
        case ButtonShape::Square: {
            if (s != Normal) {
                Rgb fill = close ? (s == Pressed ? darken(k.closeHot, 0.2f) : k.closeHot)
                                 : (s == Pressed ? lighten(k.captionTop, 0.22f) : lighten(k.captionTop, 0.12f));
                c.fill(rectShape(0, 0, float(W), float(H)), fill);
                if (close) glyph = kWhite;
            }
            break;
        }
        case ButtonShape::Glass: {
            Rgb base = close ? k.closeHot : mix(k.captionTop, k.captionBottom, 0.55f);
            if (inactive) base = close ? mix(k.closeHot, k.captionBottomInactive, 0.65f) : k.captionBottomInactive;
            if (s == Hot) base = lighten(base, 0.22f);
            if (s == Pressed) base = darken(base, 0.25f);
            Rgb edge = darken(base, 0.45f);
            c.fill(roundRect(0, 0, float(W), float(H), 4), edge);
            c.fill(roundRect(1, 1, float(W - 1), float(H - 1), 3),
                   vstops({{1, lighten(base, 0.30f)}, {H * 0.48f, lighten(base, 0.08f)},
                           {H * 0.52f, darken(base, 0.05f)}, {float(H - 1), lighten(base, 0.12f)}}));
            c.fill(intersect(roundRect(1, 1, float(W - 1), float(H - 1), 3), rectShape(2, 1, float(W - 2), 2)), kWhite,
                   0.45f);
            break;
        }
        case ButtonShape::Round: {
            float r = std::min(W, H) / 2.0f - 0.5f;
            Rgb base = close ? k.closeHot : mix(k.captionTop, kWhite, 0.35f);
            if (inactive) base = close ? mix(k.closeHot, k.captionTopInactive, 0.6f) : mix(k.captionTopInactive, kWhite, 0.3f);
            if (s == Hot) base = close ? lighten(base, 0.15f) : lighten(base, 0.35f);
            if (s == Pressed) base = darken(base, 0.18f);
            c.fill(circle(cx, cy, r), darken(base, 0.35f));
            c.fill(circle(cx, cy, r - 1), vgrad(cy - r, lighten(base, 0.3f), cy + r, base));
            c.fill(intersect(circle(cx, cy, r - 1.5f), rectShape(0, 0, float(W), cy - r * 0.25f)), kWhite, 0.25f);
            if (close) glyph = inactive ? lighten(k.closeHot, 0.7f) : kWhite;
            break;
        }
        case ButtonShape::Stamp: {
            if (close) {
                // A seal-red stamp with slightly worn edges.
                Rgb red = inactive ? mix(k.closeHot, k.captionTopInactive, 0.45f) : k.closeHot;
                if (s == Hot) red = lighten(red, 0.12f);
                if (s == Pressed) red = darken(red, 0.2f);
                Shape stamp = roundRect(2, 1, float(W - 2), float(H - 1), 2);
                c.fill(stamp, [&](float x, float y) {
                    float n = vnoise(x / 2.5f, y / 2.5f, 0);
                    return mix(red, darken(red, 0.25f), n * 0.6f);
                });
                glyph = k.captionTop;
            } else if (s != Normal) {
                c.fill(roundRect(2, 1, float(W - 2), float(H - 1), 2), k.outline, s == Pressed ? 0.9f : 0.7f);
                c.fill(roundRect(3, 2, float(W - 3), float(H - 2), 1),
                       s == Pressed ? darken(k.captionTop, 0.1f) : lighten(k.captionTop, 0.4f));
            }
            break;
        }
        }
        float shift = (s == Pressed) ? 1.0f : 0.0f;
        capGlyph(c, g, cx + shift, cy + shift, glyph, k.brush);
        frames.push_back(toPicture(c, behind(!inactive)));
    }
    return hstrip(frames);
}

// Buttons of a maximised child window in the menu band: minimize, restore,
// close, four frames each (normal, pressed, hot, inactive).
Picture mdiControls(const Look& k) {
    const int W = 16, H = 14;
    std::vector<Picture> frames;
    for (Cap g : {Cap::Min, Cap::Restore, Cap::Close}) {
        for (int i = 0; i < 4; ++i) {
            St s = i == 1 ? Pressed : i == 2 ? Hot : i == 3 ? Disabled : Normal;
            Canvas c(W, H);
            drawFace(c, k, 0, 0, float(W), float(H), std::min(k.controlRadius, 2) * 1.0f, s);
            capGlyph(c, g, W / 2.0f, H / 2.0f, glyphFor(k, s), false);
            frames.push_back(toPicture(c, k.menu));
        }
    }
    return hstrip(frames);
}

// ---------------------------------------------------------------- controls

// Push button: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused.
Picture buttons(const Look& k) {
    static const St order[] = {Normal, Pressed, Disabled, Hot, Focused};
    return cells(5, 32, 24, k.face, [&](Canvas& c, int i) {
        drawFace(c, k, 0, 0, 32, 24, float(k.controlRadius), order[i]);
    });
}

// Check box: unchecked, checked, mixed; each normal, hot, pressed, disabled.
Picture checkBox(const Look& k) {
    return cells(12, 13, 13, k.face, [&](Canvas& c, int i) {
        int group = i / 4, state = i % 4;
        St s = state == 0 ? Normal : state == 1 ? Hot : state == 2 ? Pressed : Disabled;
        float r = k.flat ? 0.0f : std::min(2.0f, float(k.controlRadius));
        Rgb edge = s == Disabled ? mix(k.buttonBorder, k.face, 0.5f) : s == Normal ? k.dkShadow : k.accent;
        Rgb fill = s == Disabled ? mix(k.window, k.face, 0.6f) : s == Pressed ? mix(k.window, k.accent, 0.18f)
                                                                             : k.window;
        c.fill(roundRect(0, 0, 13, 13, r), edge);
        c.fill(roundRect(1, 1, 12, 12, std::max(r - 1, 0.0f)),
               k.flat ? solid(fill) : vgrad(1, darken(fill, 0.06f), 12, fill));
        if (s == Hot) c.fill(minus(rectShape(1, 1, 12, 12), rectShape(2, 2, 11, 11)), mix(k.accent, k.window, 0.6f));
        Rgb mark = s == Disabled ? mix(k.text, k.face, 0.5f) : (k.flat ? k.accent : mix(k.text, k.accent, 0.45f));
        if (k.brush && s != Disabled) mark = k.text;
        if (group == 1) {
            c.fill(segment(3.2f, 6.6f, 5.4f, 9.0f, 1.9f), mark);
            c.fill(segment(5.4f, 9.0f, 9.9f, 3.6f, 1.9f), mark);
        } else if (group == 2) {
            c.fill(rectShape(3, 3, 10, 10), mark, 0.85f);
        }
    });
}

// Radio button: unchecked, checked; each normal, hot, pressed, disabled.
Picture radioButton(const Look& k) {
    return cells(8, 13, 13, k.face, [&](Canvas& c, int i) {
        int group = i / 4, state = i % 4;
        St s = state == 0 ? Normal : state == 1 ? Hot : state == 2 ? Pressed : Disabled;
        Rgb edge = s == Disabled ? mix(k.buttonBorder, k.face, 0.5f) : s == Normal ? k.dkShadow : k.accent;
        Rgb fill = s == Disabled ? mix(k.window, k.face, 0.6f) : s == Pressed ? mix(k.window, k.accent, 0.18f)
                                                                             : k.window;
        c.fill(circle(6.5f, 6.5f, 6.3f), edge);
        c.fill(circle(6.5f, 6.5f, 5.3f), k.flat ? solid(fill) : vgrad(1, darken(fill, 0.07f), 12, fill));
        if (s == Hot) c.fill(minus(circle(6.5f, 6.5f, 5.3f), circle(6.5f, 6.5f, 4.3f)), mix(k.accent, k.window, 0.55f));
        Rgb mark = s == Disabled ? mix(k.text, k.face, 0.5f) : (k.flat ? k.accent : mix(k.text, k.accent, 0.45f));
        if (k.brush && s != Disabled) mark = k.accent;
        if (group == 1) c.fill(circle(6.5f, 6.5f, 2.6f), mark);
    });
}

void progressTrough(Canvas& c, const Look& k, int w, int h) {
    float r = k.flat ? 0.0f : std::min(3.0f, float(k.controlRadius));
    c.fill(roundRect(0, 0, float(w), float(h), r), k.flat ? k.shadow : mix(k.shadow, k.dkShadow, 0.3f));
    c.fill(roundRect(1, 1, float(w - 1), float(h - 1), std::max(r - 1, 0.0f)),
           k.flat ? solid(darken(k.face, 0.25f)) : vgrad(1, darken(k.window, 0.10f), float(h - 1), k.window));
}

void progressBar(Canvas& c, const Look& k, float x0, float y0, float x1, float y1, float r) {
    Rgb a = k.progressFill, b = k.progressFillEnd;
    if (k.flat) {
        c.fill(roundRect(x0, y0, x1, y1, r), a);
        return;
    }
    float h = y1 - y0;
    c.fill(roundRect(x0, y0, x1, y1, r), darken(b, 0.2f));
    c.fill(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(r - 1, 0.0f)),
           vstops({{y0 + 1, lighten(a, 0.35f)}, {y0 + h * 0.45f, a}, {y0 + h * 0.55f, b}, {y1 - 1, lighten(b, 0.15f)}}));
    c.fill(intersect(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, std::max(r - 1, 0.0f)),
                     rectShape(x0 + 1, y0 + 1, x1 - 1, y0 + 2)),
           kWhite, 0.5f);
}

// Style 0: frame 1 empty bar, frame 2 full bar.
Picture progressTwoFrames(const Look& k) {
    return cells(2, 60, 16, k.face, [&](Canvas& c, int i) {
        progressTrough(c, k, 60, 16);
        if (i == 1) progressBar(c, k, 1, 1, 59, 15, std::min(2.0f, float(k.controlRadius)));
    });
}

Picture progressTrough1(const Look& k) {
    return cells(1, 60, 16, k.face, [&](Canvas& c, int) { progressTrough(c, k, 60, 16); });
}

// Style 1 fill: a tiled block (with a keyed gap) or one bar drawn in three parts.
Picture progressChunk(const Look& k) {
    if (k.chunkTile) {
        return cells(1, 9, 10, k.window, [&](Canvas& c, int) { progressBar(c, k, 0, 0, 7, 10, 1.5f); });
    }
    return cells(1, 30, 16, k.window, [&](Canvas& c, int) {
        if (k.brush) {
            // A charcoal stroke with a dry edge.
            c.fill([&](float x, float y) {
                       float edge = 11.0f - 1.2f * vnoise(x / 3, 2, 10);
                       return clampf(std::min(y - 0.5f, edge - y) + 0.5f, 0, 1);
                   },
                   [&](float x, float y) { return mix(k.progressFillEnd, k.progressFill, vnoise(x / 8, y * 0.7f, 0)); });
        } else {
            progressBar(c, k, 0, 0, 30, 12, 0);
        }
    });
}

// Group box caption plate (one frame) and its edge (two frames).
Picture groupBoxPlate(const Look& k) {
    return cells(1, 40, 20, k.face, [&](Canvas& c, int) {
        c.fill(roundRect(0, 0, 40, 20, float(k.controlRadius + 2)), k.shadow);
        c.fill(roundRect(1, 1, 39, 19, float(k.controlRadius + 1)),
               k.flat ? solid(lighten(k.face, 0.06f)) : vgrad(1, lighten(k.face, 0.6f), 19, k.face));
    });
}

Picture groupBoxEdge(const Look& k) {
    return cells(2, 24, 24, k.face, [&](Canvas& c, int i) {
        float r = float(std::max(k.controlRadius, 2) + 1);
        Rgb line = i == 0 ? k.shadow : mix(k.shadow, k.face, 0.5f);
        c.fill(minus(roundRect(0, 0, 24, 24, r), roundRect(1, 1, 23, 23, r - 1)), line);
        c.fill(minus(roundRect(1, 1, 23, 23, r - 1), roundRect(2, 2, 22, 22, r - 2)), k.light, 0.7f);
        c.fill(roundRect(2, 2, 22, 22, r - 2), k.face);
    });
}

// Tabs: 1 normal, 2 focused (selected), 3 hot, 4 disabled, 5 pressed.
Picture tabs(const Look& k) {
    static const St order[] = {Normal, Focused, Hot, Disabled, Pressed};
    return cells(5, 48, 24, k.face, [&](Canvas& c, int i) {
        St s = order[i];
        float r = float(std::max(k.controlRadius, 2) + 1);
        bool sel = s == Focused;
        float top = sel ? 0.0f : 2.0f;
        Rgb edge = k.flat ? k.buttonBorder : k.shadow;
        Rgb fillTop = sel ? lighten(k.face, 0.5f) : (s == Hot ? lighten(mix(k.face, k.accent, 0.12f), 0.3f) : darken(k.face, 0.03f));
        Rgb fillBottom = sel ? k.face : (s == Disabled ? k.face : darken(k.face, 0.07f));
        if (k.flat) fillTop = fillBottom = sel ? lighten(k.face, 0.08f) : (s == Hot ? lighten(k.face, 0.04f) : darken(k.face, 0.08f));
        Shape body = roundRect(0, top, 48, 24 + r, r, r, 0, 0);
        c.fill(body, edge);
        c.fill(roundRect(1, top + 1, 47, 24 + r, r - 1, r - 1, 0, 0), vgrad(top + 1, fillTop, 24, fillBottom));
        if (sel) c.fill(intersect(roundRect(1, top + 1, 47, 24 + r, r - 1, r - 1, 0, 0), rectShape(2, top + 1, 46, top + 3)),
                        k.focus, 0.95f);
        if (!sel) c.fill(rectShape(0, 23, 48, 24), edge);  // unselected tabs sit behind the pane line
        if (s == Disabled) c.fill(rectShape(1, top + 1, 47, 23), k.face, 0.4f);
    });
}

// The pane under the tabs: one frame with a 4-pixel border.
Picture tabPane(const Look& k) {
    return cells(1, 48, 48, k.face, [&](Canvas& c, int) {
        c.fill(rectShape(0, 0, 48, 48), k.flat ? k.buttonBorder : k.shadow);
        c.fill(rectShape(1, 1, 47, 47), k.light);
        c.fill(rectShape(2, 2, 46, 46), lighten(k.face, 0.25f));
        c.fill(rectShape(3, 3, 45, 45), k.face);
        c.fill(rectShape(1, 46, 47, 47), mix(k.shadow, k.face, 0.4f));
    });
}

// Status bar panels: 1 lowered, 2 raised, 3 no bevel.
Picture statusBarEdges(const Look& k) {
    return cells(3, 20, 20, k.face, [&](Canvas& c, int i) {
        c.fill(rectShape(0, 0, 20, 20), k.face);
        if (i == 2) return;
        Rgb tl = i == 0 ? k.shadow : k.light, br = i == 0 ? k.light : k.shadow;
        c.fill(rectShape(0, 0, 20, 1), tl);
        c.fill(rectShape(0, 0, 1, 20), tl);
        c.fill(rectShape(0, 19, 20, 20), br);
        c.fill(rectShape(19, 0, 20, 20), br);
        if (i == 0) c.fill(rectShape(1, 1, 19, 19), darken(k.face, 0.03f));
    });
}

// Tool bar buttons: 1 normal (flat), 2 hot, 3 pressed, 4 disabled, 5 checked.
Picture toolBars(const Look& k) {
    return cells(5, 24, 24, k.face, [&](Canvas& c, int i) {
        float r = float(k.controlRadius);
        switch (i) {
        case 0: c.fill(rectShape(0, 0, 24, 24), k.face); break;
        case 1: drawFace(c, k, 0, 0, 24, 24, r, Hot); break;
        case 2: drawFace(c, k, 0, 0, 24, 24, r, Pressed); break;
        case 3: c.fill(rectShape(0, 0, 24, 24), k.face); break;
        case 4:
            drawFace(c, k, 0, 0, 24, 24, r, Pressed);
            c.fill(roundRect(2, 2, 22, 22, std::max(r - 1, 0.0f)), mix(k.face, k.accent, 0.2f), 0.6f);
            break;
        }
    });
}

// Combo drop button (no glyph; the glyph is ExtraImages): 1 normal,
// 2 pressed, 3 disabled, 4 hot.
Picture comboButton(const Look& k) {
    return cells(4, 18, 21, k.window, [&](Canvas& c, int i) {
        drawFace(c, k, 0, 0, 18, 21, std::min(float(k.controlRadius), 3.0f), stateOf4(i));
    });
}

// Sunken edit border: 1 normal, 2 pressed, 3 disabled, 4 hot or focused.
Picture sunkEdge(const Look& k) {
    return cells(4, 24, 21, k.face, [&](Canvas& c, int i) {
        St s = stateOf4(i);
        Rgb edge = s == Hot || s == Pressed ? k.accent : (s == Disabled ? mix(k.shadow, k.face, 0.4f) : k.dkShadow);
        if (!k.flat && s == Normal) edge = mix(k.dkShadow, k.shadow, 0.4f);
        float r = k.flat ? 0.0f : std::min(2.0f, float(k.controlRadius));
        c.fill(roundRect(0, 0, 24, 21, r), edge);
        c.fill(rectShape(1, 1, 23, 20), s == Disabled ? mix(k.window, k.face, 0.6f) : k.window);
        if (!k.flat) c.fill(rectShape(1, 1, 23, 2), darken(k.window, 0.08f));
    });
}

// Arrow glyphs: 1 normal, 2 pressed, 3 disabled, 4 hot; 5 the size grip.
Picture extraImages(const Look& k) {
    return cells(5, 12, 12, k.face, [&](Canvas& c, int i) {
        if (i == 4) {
            // Size grip: three rows of dots along the diagonal.
            for (int row = 0; row < 3; ++row)
                for (int col = 0; col <= row; ++col) {
                    float x = 10.0f - float(col) * 3.5f, y = 10.0f - float(row - col) * 3.5f;
                    c.fill(rectShape(x - 0.5f, y - 0.5f, x + 1.5f, y + 1.5f), k.light);
                    c.fill(rectShape(x - 1.5f, y - 1.5f, x + 0.5f, y + 0.5f), k.shadow);
                }
            return;
        }
        St s = stateOf4(i);
        float shift = s == Pressed ? 1.0f : 0.0f;
        arrow(c, 6 + shift, 6.5f + shift, 3.5f, Down, glyphFor(k, s));
    });
}

// Column header: 1 normal, 2 hot, 3 pressed, 4 sorted, 5 disabled.
Picture headerBar(const Look& k) {
    return cells(5, 40, 20, k.face, [&](Canvas& c, int i) {
        Rgb top = lighten(k.face, 0.55f), bottom = darken(k.face, 0.04f);
        if (k.flat) top = bottom = lighten(k.face, 0.06f);
        if (i == 1) top = lighten(mix(k.face, k.accent, 0.12f), 0.45f), bottom = mix(k.face, k.accent, 0.14f);
        if (i == 2) top = darken(k.face, 0.08f), bottom = darken(k.face, 0.02f);
        if (i == 3) top = lighten(k.face, 0.35f), bottom = mix(k.face, k.accent, 0.08f);
        if (i == 4) top = bottom = k.face;
        c.fill(rectShape(0, 0, 40, 20), vgrad(0, top, 20, bottom));
        c.fill(rectShape(0, 19, 40, 20), k.flat ? k.shadow : mix(k.shadow, k.dkShadow, 0.3f));
        c.fill(rectShape(39, 3, 40, 17), k.shadow);
        c.fill(rectShape(0, 3, 1, 17), k.light, 0.8f);
        if (i == 1 || i == 3) c.fill(rectShape(0, 18, 40, 19), k.accent, 0.8f);
    });
}

// Menu items: 1 normal (keyed, the menu background shows), 2 separator,
// 3 disabled, 4 selected, 5 selected and disabled.
Picture menuItem(const Look& k) {
    return cells(5, 40, 20, k.menu, [&](Canvas& c, int i) {
        float r = k.flat ? 0.0f : 3.0f;
        if (i == 1) {
            c.fill(rectShape(4, 15, 36, 16), k.shadow);
            c.fill(rectShape(4, 16, 36, 17), k.light, 0.8f);
        } else if (i == 3 || i == 4) {
            Rgb sel = i == 3 ? k.select : mix(k.select, k.menu, 0.6f);
            if (k.flat || k.brush) {
                c.fill(roundRect(1, 1, 39, 19, r), sel);
            } else {
                c.fill(roundRect(1, 1, 39, 19, r), darken(sel, 0.15f));
                c.fill(roundRect(2, 2, 38, 18, r - 1), vgrad(2, lighten(sel, 0.12f), 18, darken(sel, 0.04f)));
            }
        }
    });
}

Picture menuBackground(const Look& k) {
    return cells(1, 40, 40, k.menu, [&](Canvas& c, int) {
        c.fill(rectShape(0, 0, 40, 40), k.flat ? k.dkShadow : k.shadow);
        c.fill(rectShape(1, 1, 39, 39), k.brush ? solid(k.menu) : vgrad(1, lighten(k.menu, 0.5f), 39, k.menu));
        c.fill(minus(rectShape(1, 1, 39, 39), rectShape(2, 2, 38, 38)), k.light, k.flat ? 0.1f : 0.8f);
        if (k.brush) c.fill(rectShape(1, 1, 3, 39), k.accent, 0.85f);  // a red binding edge
    });
}

// Menu bar band: frame 1 active, frame 2 inactive, stacked.
Picture menuBar(const Look& k) {
    std::vector<Picture> frames;
    for (int i = 0; i < 2; ++i) {
        Canvas c(40, 20);
        Rgb top = k.flat ? k.face : lighten(k.face, 0.45f), bottom = k.flat ? k.face : darken(k.face, 0.03f);
        if (i == 1) top = mix(top, k.face, 0.5f), bottom = mix(bottom, k.face, 0.5f);
        c.fill(rectShape(0, 0, 40, 20), vgrad(0, top, 20, bottom));
        c.fill(rectShape(0, 19, 40, 20), k.shadow, 0.8f);
        frames.push_back(toPicture(c, k.face));
    }
    return vstrip(frames);
}

// Scroll bar parts, 23 frames of 17 x 17.
Picture scrollbarParts(const Look& k) {
    const int S = 17;
    Rgb track = k.flat ? darken(k.face, 0.12f) : mix(k.face, k.window, 0.5f);
    return cells(23, S, S, track, [&](Canvas& c, int i) {
        c.fill(rectShape(0, 0, S, S), track);
        if (i < 16) {
            Dir d = i < 4 ? Left : i < 8 ? Right : i < 12 ? Up : Down;
            St s = stateOf4(i % 4);
            float r = float(std::min(k.controlRadius, 3));
            drawFace(c, k, 0, 0, S, S, r, s);
            float shift = s == Pressed ? 1.0f : 0.0f;
            arrow(c, S / 2.0f + shift, S / 2.0f + shift, 3.5f, d, glyphFor(k, s));
            return;
        }
        if (i >= 16 && i < 22) {
            // Thumb grips: three short ridges across the thumb, keyed around.
            c = Canvas(S, S);
            bool horizontal = i < 19;
            int st = (i - 16) % 3;  // normal, pressed, hot
            Rgb dark = st == 0 ? mix(k.dkShadow, k.buttonBottom, 0.35f) : k.accent;
            Rgb lite = lighten(k.buttonTop, 0.5f);
            for (int n = -1; n <= 1; ++n) {
                float o = S / 2.0f + 3.0f * float(n);
                if (horizontal) {
                    c.fill(rectShape(o - 1, 5, o, 12), dark, 0.9f);
                    c.fill(rectShape(o, 5, o + 1, 12), lite, 0.8f);
                } else {
                    c.fill(rectShape(5, o - 1, 12, o), dark, 0.9f);
                    c.fill(rectShape(5, o, 12, o + 1), lite, 0.8f);
                }
            }
            return;
        }
        // Frame 23: the corner between two bars.
        c.fill(rectShape(0, 0, S, S), k.face);
    });
}

// Scroll track: 1 enabled, 2 hot, 3 disabled, 4 pressed.
Picture scrollTrack(const Look& k, bool vertical) {
    const int S = 17;
    return cells(4, S, S, k.face, [&](Canvas& c, int i) {
        Rgb base = k.flat ? darken(k.face, 0.12f) : mix(k.face, k.window, 0.5f);
        if (i == 1) base = mix(base, k.accent, 0.08f);
        if (i == 2) base = mix(base, k.face, 0.6f);
        if (i == 3) base = mix(base, k.accent, 0.18f);
        c.fill(rectShape(0, 0, S, S), base);
        if (!k.flat) {
            if (vertical) {
                c.fill(rectShape(0, 0, 1, S), darken(base, 0.10f));
                c.fill(rectShape(S - 1, 0, S, S), lighten(base, 0.4f));
            } else {
                c.fill(rectShape(0, 0, S, 1), darken(base, 0.10f));
                c.fill(rectShape(0, S - 1, S, S), lighten(base, 0.4f));
            }
        }
    });
}

// Scroll thumb: 1 normal, 2 pressed, 3 hot.
Picture scrollThumb(const Look& k, bool vertical) {
    const int L = 24, T = 17;
    int w = vertical ? T : L, h = vertical ? L : T;
    Rgb track = k.flat ? darken(k.face, 0.12f) : mix(k.face, k.window, 0.5f);
    return cells(3, w, h, track, [&](Canvas& c, int i) {
        St s = i == 0 ? Normal : i == 1 ? Pressed : Hot;
        float r = k.flat ? 0.0f : 4.0f;
        float x0 = vertical ? 1.0f : 0.0f, y0 = vertical ? 0.0f : 1.0f;
        float x1 = float(w) - x0, y1 = float(h) - y0;
        if (k.flat) {
            Rgb fill = s == Normal ? lighten(k.face, 0.16f) : s == Hot ? lighten(k.face, 0.26f) : k.accent;
            c.fill(rectShape(x0 + 2, y0 + 2, x1 - 2, y1 - 2), fill);
            return;
        }
        FaceColours f = faceColours(k, s);
        c.fill(roundRect(x0, y0, x1, y1, r), f.edge);
        Paint p = vertical ? hgrad(x0, f.top, x1, f.bottom) : vgrad(y0, f.top, y1, f.bottom);
        c.fill(roundRect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, r - 1), p);
    });
}

// Track-bar thumbs, five frames: 1 and 2 normal, 3 pressed, 4 hot, 5 disabled.
Picture trackThumb(const Look& k, int kind) {
    // kind: 0 horz (upright block), 1 vert (lying block), 2 left, 3 right, 4 up, 5 down
    bool lying = kind == 1 || kind == 2 || kind == 3;
    int w = lying ? 19 : 11, h = lying ? 11 : 19;
    return cells(5, w, h, k.face, [&](Canvas& c, int i) {
        St s = i <= 1 ? Normal : i == 2 ? Pressed : i == 3 ? Hot : Disabled;
        FaceColours f = faceColours(k, s);
        float W = float(w), Hh = float(h);
        Shape body;
        switch (kind) {
        case 0: case 1: body = roundRect(0, 0, W, Hh, k.flat ? 0.0f : 2.5f); break;
        case 2: body = polygon({{0, Hh / 2}, {6, 0}, {W, 0}, {W, Hh}, {6, Hh}}); break;
        case 3: body = polygon({{W, Hh / 2}, {W - 6, 0}, {0, 0}, {0, Hh}, {W - 6, Hh}}); break;
        case 4: body = polygon({{W / 2, 0}, {W, 6}, {W, Hh}, {0, Hh}, {0, 6}}); break;
        default: body = polygon({{W / 2, Hh}, {W, Hh - 6}, {W, 0}, {0, 0}, {0, Hh - 6}}); break;
        }
        c.fill(body, f.edge);
        Shape inner = [&](float x, float y) {
            // Inset by one pixel: the body sampled at the four neighbours.
            return std::min({body(x - 1, y), body(x + 1, y), body(x, y - 1), body(x, y + 1)});
        };
        Paint p = lying ? vgrad(0, f.top, Hh, f.bottom) : hgrad(0, f.top, W, f.bottom);
        if (k.flat) p = solid(s == Hot || s == Pressed ? k.accent : lighten(k.face, 0.3f));
        c.fill(inner, p);
        if (!k.flat && s == Normal) c.fill(intersect(inner, lying ? rectShape(0, 1, W, 2) : rectShape(1, 0, 2, Hh)), kWhite, 0.6f);
    });
}

// Up-down buttons: first button 1-4, second 5-8 (normal, pressed, disabled, hot).
Picture upDown(const Look& k, bool horizontal) {
    int w = horizontal ? 12 : 16, h = horizontal ? 16 : 12;
    return cells(8, w, h, k.face, [&](Canvas& c, int i) {
        drawFace(c, k, 0, 0, float(w), float(h), std::min(2.0f, float(k.controlRadius)), stateOf4(i % 4));
    });
}

Picture upDownGlyphs(const Look& k, bool horizontal) {
    return cells(8, 8, 8, k.face, [&](Canvas& c, int i) {
        bool first = i < 4;
        Dir d = horizontal ? (first ? Left : Right) : (first ? Up : Down);
        St s = stateOf4(i % 4);
        float shift = s == Pressed ? 0.5f : 0.0f;
        arrow(c, 4 + shift, 4 + shift, 3.0f, d, glyphFor(k, s));
    });
}

Picture trackChannel(const Look& k, bool vertical) {
    int w = vertical ? 6 : 24, h = vertical ? 24 : 6;
    return cells(1, w, h, k.face, [&](Canvas& c, int) {
        c.fill(roundRect(0, 0, float(w), float(h), 2), k.flat ? k.dkShadow : k.shadow);
        c.fill(roundRect(1, 1, float(w - 1), float(h - 1), 1),
               k.flat ? solid(darken(k.face, 0.3f)) : (vertical ? hgrad(1, darken(k.window, 0.15f), float(w - 1), k.window)
                                                               : vgrad(1, darken(k.window, 0.15f), float(h - 1), k.window)));
    });
}

// Plate under the caption text (drawn only when a frame asks for it).
Picture textBack(const Look& k) {
    return cells(1, 24, 20, k.captionBottom, [&](Canvas& c, int) {
        c.fill(roundRect(0, 0, 24, 20, 6), k.brush ? k.highlight : darken(k.captionBottom, 0.2f), 0.5f);
    });
}

Picture blankIcon() {
    Picture p(16, 16, 0xFF00FF);
    return p;
}

// ---------------------------------------------------------------- settings

std::string rgbText(Rgb c) {
    uint32_t v = packRgb(c);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%u %u %u", (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    return buf;
}

class IniWriter {
public:
    void comment(const std::string& text) { out_ << "; " << text << "\r\n"; }
    void section(const std::string& name) {
        if (out_.tellp() > 0) out_ << "\r\n";
        out_ << "[" << name << "]\r\n";
    }
    void key(const std::string& k, const std::string& v) { out_ << k << "=" << v << "\r\n"; }
    void key(const std::string& k, int v) { out_ << k << "=" << v << "\r\n"; }
    std::string text() const { return out_.str(); }

private:
    std::ostringstream out_;
};

} // namespace

SkinSource buildSkin(const Look& k) {
    SkinSource src;
    src.iniName = k.folder + ".ini";
    auto add = [&](const std::string& name, Picture p) { src.images.emplace_back(name, std::move(p)); };

    FrameImages fr = frameImages(k);
    FrameLayout fl = frameLayout(k);
    // A border is transparent exactly when it holds key pixels (rounded corners).
    auto keyed = [](const Picture& p) {
        return std::find(p.pixels.begin(), p.pixels.end(), 0xFF00FFu) != p.pixels.end() ? 1 : 0;
    };

    IniWriter ini;
    ini.comment(k.name + " skin; generated by skingen, do not edit by hand.");
    ini.section("TitlebarSkin");
    ini.key("SkinName", k.name);

    // Frame borders, caption text and the menu band.
    ini.section("Personality");
    add("top.bmp", fr.top);
    add("bottom.bmp", fr.bottom);
    add("left.bmp", fr.left);
    add("right.bmp", fr.right);
    ini.key("Top", "top.bmp");
    ini.key("TopFrame", 2);
    ini.key("TopTopHeight", fl.topLeftLen);
    ini.key("TopBotHeight", fl.topRightLen);
    ini.key("TopStretch", k.brush ? 0 : 1);
    ini.key("TopTrans", keyed(fr.top));
    ini.key("Bottom", "bottom.bmp");
    ini.key("BottomFrame", 2);
    ini.key("BottomTopHeight", fl.bottomLeftLen);
    ini.key("BottomBotHeight", fl.bottomRightLen);
    ini.key("BottomStretch", 1);
    ini.key("BottomTrans", keyed(fr.bottom));
    for (const char* side : {"Left", "Right"}) {
        std::string s = side;
        ini.key(s, s == "Left" ? "left.bmp" : "right.bmp");
        ini.key(s + "Frame", 2);
        ini.key(s + "TopHeight", fl.leftTop);
        ini.key(s + "BotHeight", fl.leftBottom);
        ini.key(s + "Stretch", 1);
        ini.key(s + "Trans", keyed(s == "Left" ? fr.left : fr.right));
    }
    int buttonsRight = k.borderRight + 3 * (k.captionButtonW + k.captionButtonGap) + 4;
    add("textback.bmp", textBack(k));
    ini.key("TextBack", "textback.bmp");
    ini.key("TextShift", k.borderLeft + 5 + 16 + 6);
    ini.key("TextShiftVert", 0);
    ini.key("TextRightClip", buttonsRight + 6);
    ini.key("TextAlignment", 0);
    ini.key("Textbackground", 0);
    ini.key("TXTBackleft", 6);
    ini.key("TXTBackRight", 6);
    uint32_t ta = packRgb(k.titleText), ti = packRgb(k.titleTextInactive);
    ini.key("ActiveTextR", int((ta >> 16) & 0xFF));
    ini.key("ActiveTextG", int((ta >> 8) & 0xFF));
    ini.key("ActiveTextB", int(ta & 0xFF));
    ini.key("InActiveTextR", int((ti >> 16) & 0xFF));
    ini.key("InActiveTextG", int((ti >> 8) & 0xFF));
    ini.key("InActiveTextB", int(ti & 0xFF));
    add("menubar.bmp", menuBar(k));
    ini.key("menuBar", "menubar.bmp");
    ini.key("TileMenu", 1);
    ini.key("TileLeftMenu", 2);
    ini.key("TileRightMenu", 2);

    ini.section("Fonts");
    ini.key("FontHeight", 12);

    ini.section("Colours");
    ini.key("WindowText", rgbText(k.text));
    ini.key("ButtonFace", rgbText(k.face));
    ini.key("Scrollbar", rgbText(k.flat ? darken(k.face, 0.12f) : mix(k.face, k.window, 0.5f)));
    ini.key("HilightText", rgbText(k.selectText));
    ini.key("Hilight", rgbText(k.select));
    ini.key("Menubar", rgbText(k.face));
    ini.key("Menu", rgbText(k.menu));
    ini.key("MenuText", rgbText(k.menuText));
    ini.key("ButtonText", rgbText(k.text));
    ini.key("ButtonHilight", rgbText(k.flat ? k.accent : k.light));
    ini.key("Buttonlight", rgbText(k.light));
    ini.key("ButtonShadow", rgbText(k.shadow));
    ini.key("ButtonDkShadow", rgbText(k.dkShadow));
    ini.key("MenuBarText", rgbText(k.text));
    ini.key("TitleTextActive", rgbText(k.titleText));
    ini.key("TitleTextNoActive", rgbText(k.titleTextInactive));

    // Named colours for other readers: accent, focus, window.
    const std::pair<const char*, Rgb> named[] = {{"COLOUR.Accent", k.accent}, {"COLOUR.Focus", k.focus},
                                                 {"COLOUR.Window", k.window}};
    for (const auto& [name, colour] : named) {
        ini.section(name);
        ini.key("color", rgbText(colour));
    }
    ini.section("Customcolors");
    const Rgb custom[10] = {k.accent, k.focus, k.face, k.window, k.text,
                            k.shadow, k.dkShadow, k.captionTop, k.captionBottom, k.progressFill};
    for (int n = 0; n < 10; ++n) ini.key("Color" + std::to_string(n), rgbText(custom[n]));

    // Caption buttons, from the right edge inwards; the icon button on the left.
    struct CapButton { const char* section; const char* file; Cap glyph; int action, slot, vis, vis1; };
    const CapButton caps[] = {
        {"Button.Close", "btnclose.bmp", Cap::Close, 0, 1, 0, 0},
        {"Button.Maximize", "btnmax.bmp", Cap::Max, 1, 2, 2, 6},
        {"Button.Restore", "btnrestore.bmp", Cap::Restore, 1, 2, 1, 6},
        {"Button.Minimize", "btnmin.bmp", Cap::Min, 2, 3, 0, 8},
    };
    int capY = (k.captionHeight - k.captionButtonH) / 2 + (k.flat ? 0 : 1);
    for (const CapButton& b : caps) {
        add(b.file, captionButton(k, b.glyph));
        ini.section(b.section);
        ini.key("ButtonImage", b.file);
        ini.key("Action", b.action);
        ini.key("Align", 1);
        ini.key("Xcoord", k.borderRight + 2 + b.slot * (k.captionButtonW + k.captionButtonGap) - k.captionButtonGap);
        ini.key("Ycoord", capY);
        ini.key("Visibility", b.vis);
        ini.key("Visibility1", b.vis1);
        ini.key("frame", 4);
    }
    add("btnicon.bmp", blankIcon());
    ini.section("Button.SysMenu");
    ini.key("ButtonImage", "btnicon.bmp");
    ini.key("Action", 3);
    ini.key("Align", 0);
    ini.key("Xcoord", k.borderLeft + 5);
    ini.key("Ycoord", (k.captionHeight - 16) / 2);
    ini.key("Visibility", 0);
    ini.key("Visibility1", 0);
    ini.key("frame", 1);

    add("mdicontrols.bmp", mdiControls(k));
    ini.section("MDICONTROLS");
    ini.key("Image", "mdicontrols.bmp");

    // Push buttons with their check-box and radio-button strips.
    add("buttons.bmp", buttons(k));
    add("checkbox.bmp", checkBox(k));
    add("radio.bmp", radioButton(k));
    ini.section("Buttons");
    ini.key("Bitmap", "buttons.bmp");
    ini.key("LeftWidth", 5);
    ini.key("RightWidth", 5);
    ini.key("TopHeight", 5);
    ini.key("BottomHeight", 5);
    ini.key("Trans", k.controlRadius > 0 ? 1 : 0);
    ini.key("Tile", 0);
    ini.key("CheckButton", "checkbox.bmp");
    ini.key("CheckButtonFrame", 12);
    ini.key("RadioButton", "radio.bmp");
    ini.key("RadioButtonFrame", 8);
    ini.key("NormalColour2", rgbText(k.text));
    ini.key("MouseOverColour2", rgbText(k.flat ? lighten(k.text, 0.5f) : darken(mix(k.text, k.accent, 0.35f), 0.1f)));
    ini.key("PressedColour2", rgbText(k.flat ? k.text : darken(k.text, 0.2f)));

    // Simple elements: section, file, picture, extra keys.
    auto element = [&](const std::string& section, const std::string& file, Picture pic,
                       std::vector<std::pair<std::string, std::string>> keys, const char* imageKey = "Image") {
        add(file, std::move(pic));
        ini.section(section);
        ini.key(imageKey, file);
        for (auto& [key, value] : keys) ini.key(key, value);
    };
    auto n = [](int v) { return std::to_string(v); };

    if (k.progressStyle == 0) {
        element("Progress", "progress.bmp", progressTwoFrames(k),
                {{"Style", "0"}, {"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
                 {"Trans", "1"}, {"Tile", "0"}},
                "Bitmap");
    } else {
        element("Progress", "progress.bmp", progressTrough1(k),
                {{"Style", "1"}, {"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
                 {"Trans", "1"}, {"Tile", "0"}},
                "Bitmap");
    }
    // Style 0 skins carry a chunk too, for painters that prefer the other style.
    {
        if (k.chunkTile)
            element("Progress.Chunk", "progresschunk.bmp", progressChunk(k),
                    {{"Frame", "1"}, {"Tile", "1"}, {"Trans", "1"}});
        else
            element("Progress.Chunk", "progresschunk.bmp", progressChunk(k),
                    {{"Frame", "1"}, {"Tile", "0"}, {"Trans", "1"}, {"LeftWidth", "3"}, {"RightWidth", "3"}});
    }
    element("GroupBoxEdge", "groupboxedge.bmp", groupBoxEdge(k),
            {{"LeftWidth", "6"}, {"RightWidth", "6"}, {"TopHeight", "6"}, {"BottomHeight", "6"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("GroupBox", "groupbox.bmp", groupBoxPlate(k),
            {{"LeftWidth", "6"}, {"RightWidth", "6"}, {"TopHeight", "6"}, {"BottomHeight", "6"}, {"Trans", "1"},
             {"BackgroundAlignment", "0"}, {"BackgroundLeftShift", "6"}, {"BackgroundRightShift", "6"},
             {"NormalColour2", rgbText(k.text)}});
    add("tabborder.bmp", tabPane(k));
    element("Tabs", "tabs.bmp", tabs(k),
            {{"Style", n(k.tabsStyle)}, {"LeftWidth", "6"}, {"RightWidth", "6"}, {"TopHeight", "6"}, {"BottomHeight", "3"},
             {"Trans", "1"}, {"Tile", "0"}, {"Border", "tabborder.bmp"}, {"NormalColour2", rgbText(k.text)},
             {"MouseOverColour2", rgbText(k.flat ? k.text : darken(k.text, 0.1f))}});
    element("StatusBarEdges", "statusbar.bmp", statusBarEdges(k),
            {{"LeftWidth", "2"}, {"RightWidth", "2"}, {"TopHeight", "2"}, {"BottomHeight", "2"},
             {"Tile", "0"}, {"NormalColour2", rgbText(k.text)}});
    element("Tab.Pane", "tabpane.bmp", tabPane(k),
            {{"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
             {"Tile", "0"}});
    element("ToolBars", "toolbars.bmp", toolBars(k),
            {{"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("ComboButton", "combobutton.bmp", comboButton(k),
            {{"Style", "0"}, {"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("SunkEdge", "sunkedge.bmp", sunkEdge(k),
            {{"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("ExtraImages", "extraimages.bmp", extraImages(k), {{"Trans", "1"}});
    element("Headerbar", "header.bmp", headerBar(k),
            {{"Frame", "5"}, {"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Tile", "0"}, {"NormalColour2", rgbText(k.text)}});
    element("MenuItem", "menuitem.bmp", menuItem(k),
            {{"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("MenuBackground", "menubg.bmp", menuBackground(k),
            {{"LeftWidth", "4"}, {"RightWidth", "4"}, {"TopHeight", "4"}, {"BottomHeight", "4"},
             {"Tile", "0"}});
    element("Scrollbar", "scrollbar.bmp", scrollbarParts(k), {{"Trans", "1"}});
    element("HorzScroll", "hscroll.bmp", scrollTrack(k, false),
            {{"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Tile", "0"}});
    element("VertScroll", "vscroll.bmp", scrollTrack(k, true),
            {{"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Tile", "0"}});
    element("HorzScrollThumb", "hthumb.bmp", scrollThumb(k, false),
            {{"FrameCount", "3"}, {"LeftWidth", "5"}, {"RightWidth", "5"}, {"TopHeight", "0"}, {"BottomHeight", "0"},
             {"Trans", "1"}, {"Tile", "0"}});
    element("VertScrollThumb", "vthumb.bmp", scrollThumb(k, true),
            {{"FrameCount", "3"}, {"LeftWidth", "0"}, {"RightWidth", "0"}, {"TopHeight", "5"}, {"BottomHeight", "5"},
             {"Trans", "1"}, {"Tile", "0"}});
    const char* thumbs[] = {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                            "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"};
    const char* thumbFiles[] = {"thumbhorz.bmp", "thumbvert.bmp", "thumbleft.bmp",
                                "thumbright.bmp", "thumbup.bmp", "thumbdown.bmp"};
    for (int t = 0; t < 6; ++t) element(thumbs[t], thumbFiles[t], trackThumb(k, t), {{"Trans", "1"}});
    add("updownhglyph.bmp", upDownGlyphs(k, true));
    element("UpDown.Horz", "updownh.bmp", upDown(k, true),
            {{"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"}, {"Trans", "1"},
             {"GlyphImage", "updownhglyph.bmp"}});
    add("updownvglyph.bmp", upDownGlyphs(k, false));
    element("UpDown.Vert", "updownv.bmp", upDown(k, false),
            {{"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "3"}, {"BottomHeight", "3"}, {"Trans", "1"},
             {"GlyphImage", "updownvglyph.bmp"}});
    element("Track", "track.bmp", trackChannel(k, false),
            {{"Frame", "1"}, {"LeftWidth", "3"}, {"RightWidth", "3"}, {"TopHeight", "0"}, {"BottomHeight", "0"},
             {"Tile", "0"}});
    element("TRACKVERT", "trackvert.bmp", trackChannel(k, true),
            {{"Frame", "1"}, {"LeftWidth", "0"}, {"RightWidth", "0"}, {"TopHeight", "3"}, {"BottomHeight", "3"},
             {"Tile", "0"}});

    src.ini = ini.text();
    return src;
}

// ------------------------------------------------------- program resources

std::vector<Resource> buildResources() {
    std::vector<Resource> out;

    // MOTLEYMENU: restore, maximize, minimize, close; black on white, 16 x 16 each.
    {
        Resource r{"MOTLEYMENU", Picture(64, 16, 0xFFFFFF), 1, {0x000000, 0xFFFFFF}};
        auto px = [&](int x, int y) { r.picture.at(x, y) = 0x000000; };
        auto rect = [&](int ox, int x0, int y0, int x1, int y1) {  // inclusive outline
            for (int x = x0; x <= x1; ++x) px(ox + x, y0), px(ox + x, y1);
            for (int y = y0; y <= y1; ++y) px(ox + x0, y), px(ox + x1, y);
        };
        // Restore: a back window (top right) behind a front window (bottom left).
        rect(0, 6, 3, 12, 8);
        for (int x = 6; x <= 12; ++x) px(x, 4);
        for (int y = 6; y <= 12; ++y)
            for (int x = 3; x <= 9; ++x) r.picture.at(x, y) = 0xFFFFFF;
        rect(0, 3, 6, 9, 12);
        for (int x = 3; x <= 9; ++x) px(x, 7);
        // Maximize: one window with a thick caption bar.
        rect(16, 3, 3, 12, 12);
        for (int x = 3; x <= 12; ++x) px(16 + x, 4), px(16 + x, 5);
        // Minimize: a short bar near the bottom.
        for (int y = 10; y <= 11; ++y)
            for (int x = 4; x <= 10; ++x) px(32 + x, y);
        // Close: a cross, two pixels thick.
        for (int i = 0; i <= 7; ++i) {
            int a = 4 + i;
            px(48 + a, a), px(48 + a + 1, a);
            px(48 + 15 - a, a), px(48 + 14 - a, a);
        }
        out.push_back(std::move(r));
    }

    // The standard 16-colour palette.
    const std::vector<uint32_t> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                       0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    // TRACK: a sunken horizontal channel, 16 x 4.
    {
        Resource r{"TRACK", Picture(16, 4, 0xC0C0C0), 4, vga};
        for (int x = 0; x < 16; ++x) {
            r.picture.at(x, 0) = 0x808080;
            r.picture.at(x, 1) = 0x000000;
            r.picture.at(x, 2) = 0xC0C0C0;
            r.picture.at(x, 3) = 0xFFFFFF;
        }
        r.picture.at(0, 1) = r.picture.at(0, 2) = 0x808080;
        r.picture.at(15, 1) = r.picture.at(15, 2) = 0xFFFFFF;
        out.push_back(std::move(r));
    }
    // TRACKVERT: the same channel standing, 4 x 16.
    {
        Resource r{"TRACKVERT", Picture(4, 16, 0xC0C0C0), 4, vga};
        for (int y = 0; y < 16; ++y) {
            r.picture.at(0, y) = 0x808080;
            r.picture.at(1, y) = 0x000000;
            r.picture.at(2, y) = 0xC0C0C0;
            r.picture.at(3, y) = 0xFFFFFF;
        }
        r.picture.at(1, 0) = r.picture.at(2, 0) = 0x808080;
        r.picture.at(1, 15) = r.picture.at(2, 15) = 0xFFFFFF;
        out.push_back(std::move(r));
    }
    return out;
}

} // namespace skingen
