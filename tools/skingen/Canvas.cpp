#include "tools/skingen/Canvas.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

// Coverage from a signed distance (negative inside), one-pixel ramp.
float fromDistance(float d) { return clamp01(0.5f - d); }

} // namespace

Rgb mix(Rgb a, Rgb b, float t) {
    return Rgb(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t);
}
Rgb lighten(Rgb c, float t) { return mix(c, Rgb(255, 255, 255), t); }
Rgb darken(Rgb c, float t) { return mix(c, Rgb(0, 0, 0), t); }
Rgb desaturate(Rgb c, float t) {
    float g = 0.30f * c.r + 0.59f * c.g + 0.11f * c.b;
    return mix(c, Rgb(g, g, g), t);
}

uint32_t packRgb(Rgb c) {
    auto ch = [](float v) {
        long n = std::lround(v);
        return uint32_t(std::clamp(n, 0L, 255L));
    };
    return (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
}

Shape rectShape(float x0, float y0, float x1, float y1) {
    return [=](float x, float y) {
        // Exact area coverage of the unit pixel by the rectangle.
        float cx = std::max(0.0f, std::min(x + 0.5f, x1) - std::max(x - 0.5f, x0));
        float cy = std::max(0.0f, std::min(y + 0.5f, y1) - std::max(y - 0.5f, y0));
        return clamp01(cx) * clamp01(cy);
    };
}

Shape roundRect(float x0, float y0, float x1, float y1, float tl, float tr, float br, float bl) {
    return [=](float x, float y) {
        float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
        float r = x < cx ? (y < cy ? tl : bl) : (y < cy ? tr : br);
        r = std::min({r, hx, hy});
        float qx = std::fabs(x - cx) - (hx - r);
        float qy = std::fabs(y - cy) - (hy - r);
        float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
        float inside = std::min(std::max(qx, qy), 0.0f);
        return fromDistance(outside + inside - r);
    };
}

Shape roundRect(float x0, float y0, float x1, float y1, float r) {
    return roundRect(x0, y0, x1, y1, r, r, r, r);
}

Shape circle(float cx, float cy, float r) {
    return [=](float x, float y) { return fromDistance(std::hypot(x - cx, y - cy) - r); };
}

Shape segment(float x0, float y0, float x1, float y1, float width) {
    return [=](float x, float y) {
        float dx = x1 - x0, dy = y1 - y0;
        float len2 = dx * dx + dy * dy;
        float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = clamp01(t);
        float px = x0 + t * dx, py = y0 + t * dy;
        return fromDistance(std::hypot(x - px, y - py) - width / 2);
    };
}

Shape polygon(std::vector<std::pair<float, float>> pts) {
    return [pts = std::move(pts)](float x, float y) {
        auto inside = [&](float px, float py) {
            bool in = false;
            for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
                auto [xi, yi] = pts[i];
                auto [xj, yj] = pts[j];
                if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                    in = !in;
            }
            return in;
        };
        int hits = 0;
        for (int sy = 0; sy < 4; ++sy)
            for (int sx = 0; sx < 4; ++sx)
                hits += inside(x - 0.375f + sx * 0.25f, y - 0.375f + sy * 0.25f);
        return hits / 16.0f;
    };
}

Shape minus(Shape a, Shape b) {
    return [=](float x, float y) { return clamp01(a(x, y) - b(x, y)); };
}
Shape unite(Shape a, Shape b) {
    return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Shape intersect(Shape a, Shape b) {
    return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Paint solid(Rgb c) {
    return [=](float, float) { return c; };
}

Paint vgrad(float y0, Rgb c0, float y1, Rgb c1) {
    return [=](float, float y) { return mix(c0, c1, y1 == y0 ? 0 : clamp01((y - y0) / (y1 - y0))); };
}

Paint hgrad(float x0, Rgb c0, float x1, Rgb c1) {
    return [=](float x, float) { return mix(c0, c1, x1 == x0 ? 0 : clamp01((x - x0) / (x1 - x0))); };
}

Paint vstops(std::vector<std::pair<float, Rgb>> stops) {
    return [stops = std::move(stops)](float, float y) {
        if (y <= stops.front().first) return stops.front().second;
        for (size_t i = 1; i < stops.size(); ++i) {
            if (y <= stops[i].first) {
                float span = stops[i].first - stops[i - 1].first;
                float t = span > 0 ? (y - stops[i - 1].first) / span : 1;
                return mix(stops[i - 1].second, stops[i].second, t);
            }
        }
        return stops.back().second;
    };
}

Canvas::Canvas(int width, int height)
    : w_(std::max(width, 0)), h_(std::max(height, 0)),
      c_(size_t(w_) * size_t(h_)), a_(size_t(w_) * size_t(h_), 0.0f) {}

void Canvas::fill(const Shape& shape, const Paint& paint, float opacity) {
    for (int y = 0; y < h_; ++y) {
        for (int x = 0; x < w_; ++x) {
            float px = x + 0.5f, py = y + 0.5f;
            float cov = shape(px, py) * opacity;
            if (cov <= 0) continue;
            Rgb src = paint(px, py);
            size_t i = idx(x, y);
            float da = a_[i];
            float oa = cov + da * (1 - cov);
            if (oa <= 0) continue;
            Rgb& d = c_[i];
            d.r = (src.r * cov + d.r * da * (1 - cov)) / oa;
            d.g = (src.g * cov + d.g * da * (1 - cov)) / oa;
            d.b = (src.b * cov + d.b * da * (1 - cov)) / oa;
            a_[i] = oa;
        }
    }
}

void Canvas::clear(Rgb colour) {
    std::fill(c_.begin(), c_.end(), colour);
    std::fill(a_.begin(), a_.end(), 1.0f);
}

void Canvas::blit(const Canvas& src, int dx, int dy) { blit(src, 0, 0, src.w_, src.h_, dx, dy); }

void Canvas::blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
        int syy = sy + y, dyy = dy + y;
        if (syy < 0 || syy >= src.h_ || dyy < 0 || dyy >= h_) continue;
        for (int x = 0; x < w; ++x) {
            int sxx = sx + x, dxx = dx + x;
            if (sxx < 0 || sxx >= src.w_ || dxx < 0 || dxx >= w_) continue;
            c_[idx(dxx, dyy)] = src.c_[src.idx(sxx, syy)];
            a_[idx(dxx, dyy)] = src.a_[src.idx(sxx, syy)];
        }
    }
}

std::vector<uint32_t> Canvas::exportRgb(Rgb matte, float keyBelow) const {
    std::vector<uint32_t> out(c_.size());
    for (size_t i = 0; i < c_.size(); ++i) {
        if (a_[i] < keyBelow) {
            out[i] = 0xFF00FF;
            continue;
        }
        uint32_t v = packRgb(mix(matte, c_[i], clamp01(a_[i])));
        if (v == 0xFF00FF) v = 0xFE00FF;  // keep drawn pixels visible
        out[i] = v;
    }
    return out;
}

} // namespace skingen
