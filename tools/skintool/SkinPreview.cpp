#include "tools/skintool/SkinPreview.h"

#include "skin/data/ImgUtil.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinIni.h"
#include "tools/skintool/Label.h"

#include <algorithm>
#include <string>

namespace skintool {

namespace {

constexpr int kSheetWidth = 1040;
constexpr int kLabelColumn = 190;
constexpr uint32_t kDesk = 0x55606C;  // behind keyed window corners

class FilesSource final : public TSkinFileSource {
public:
    explicit FilesSource(const SkinFiles& skin) : skin_(skin) {}
    std::vector<uint8_t> Extract(std::string_view name) const override {
        const SkinFile* f = skin_.find(name);
        return f ? f->data : std::vector<uint8_t>{};
    }

private:
    const SkinFiles& skin_;
};

uint32_t px(TColour c) { return PixelFromColour(ResolveColour(c)); }

FrameMargins marginsOf(const TDataSkinObject& e) { return {e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight}; }

int frameWidth(const TDataSkinObject& e) { return e.FrameCount > 0 ? e.Bitmap.Width() / e.FrameCount : 0; }

// Luminance-based choice of a readable label colour on `back`.
uint32_t inkOn(uint32_t back) {
    int l = PixelR(back) * 3 + PixelG(back) * 6 + PixelB(back);
    return l > 1280 ? 0x202020 : 0xF4F4F4;
}

Image zoom(const Image& src, int scale) {
    Image out(src.Width() * scale, src.Height() * scale);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) out.SetPixel(x, y, src.Pixel(x / scale, y / scale));
    return out;
}

class Sheet {
public:
    Sheet(const TSkinModel& m) : m_(m), img_(kSheetWidth, 6000, px(m.ButtonFaceColour)) {
        face_ = px(m.ButtonFaceColour);
        text_ = inkOn(face_);
    }

    Image finish() { return img_.Crop(MakeRect(0, 0, kSheetWidth, y_ + 12)); }

    void title(const std::string& name);
    void windows();
    void elements();
    void colours();

private:
    // A labelled row of `height` pixels; returns its top.
    int row(const std::string& label, int height, const std::string& sub = "") {
        int top = y_;
        img_.FillRect(MakeRect(0, top, kSheetWidth, top + 1), Blend(m_.ButtonShadowColour, m_.ButtonFaceColour, 50));
        DrawLabel(img_, 10, top + 8, label, text_);
        if (!sub.empty()) DrawLabel(img_, 10, top + 20, sub, Mid());
        y_ = top + std::max(height, 34) + 12;
        return top + 8;
    }
    uint32_t Mid() const { return PixelFromColour(Blend(ColourFromPixel(text_), ColourFromPixel(face_), 55)); }
    void frameNumber(int x, int y, int n) { DrawLabel(img_, x, y, std::to_string(n), Mid()); }
    // Every frame of a strip at `w` x `h` (0: the frame's own size) and, when
    // `zoomed`, three times larger beside it; returns the height used.
    int strip(const TDataSkinObject& e, int frames, int y, int w = 0, int h = 0, bool zoomed = false, bool vertical = false,
              bool keyed = false);
    void drawWindow(int x, int y, int w, int h, bool active);
    void drawScrollbar(ImgRect r, bool vertical, int thumbStart, int thumbEnd, int hot);
    void drawProgress(ImgRect r, int percent);
    void drawCombo(ImgRect r, int frame);
    void drawButton(ImgRect r, int frame, const std::string& caption);

    const TSkinModel& m_;
    Image img_;
    int y_ = 0;
    uint32_t face_, text_;
};

void Sheet::title(const std::string& name) {
    DrawLabel(img_, 10, 12, "SKIN " + name, text_, 3);
    DrawLabel(img_, 10, 40, "PREVIEW SHEET: MOCK WINDOWS AS THE ENGINE COMPOSES THEM, THEN EVERY ELEMENT FRAME BY FRAME",
              Mid());
    y_ = 60;
}

// `keyed`: the element's painter always draws it magenta-transparent,
// whatever its Trans setting (caption buttons, scroll-bar parts, thumbs).
int Sheet::strip(const TDataSkinObject& e, int frames, int y, int w, int h, bool zoomed, bool vertical, bool keyed) {
    if (e.Bitmap.Empty() || frames <= 0) {
        DrawLabel(img_, kLabelColumn, y, "(NO IMAGE)", Mid());
        return 10;
    }
    int fw = vertical ? e.Bitmap.Width() : e.Bitmap.Width() / frames;
    int fh = vertical ? e.Bitmap.Height() / frames : e.Bitmap.Height();
    if (w <= 0) w = fw;
    if (h <= 0) h = fh;
    int x = kLabelColumn, used = 0;
    for (int k = 1; k <= frames; ++k) {
        if (x + w > kSheetWidth - 10) {
            x = kLabelColumn;
            y += h + 14;
            used += h + 14;
        }
        ImgRect r = MakeRect(x, y, x + w, y + h);
        DrawFrame(img_, r, e.Bitmap, vertical, e.Tile == 1, keyed || e.Trans == 1, frames, k, marginsOf(e));
        frameNumber(x, y + h + 3, k);
        x += w + 8;
    }
    used += h + 12;
    if (zoomed) {
        int zx = kLabelColumn, zy = y + h + 14;
        Image z = zoom(e.Bitmap, 3);
        if (z.Width() > kSheetWidth - zx - 10) z = zoom(e.Bitmap, 2);
        if (z.Width() <= kSheetWidth - zx - 10) {
            img_.Blit(zx, zy, z);
            used += z.Height() + 6;
        }
    }
    return used;
}

void Sheet::drawButton(ImgRect r, int frame, const std::string& caption) {
    const TDataSkinButton& b = *m_.Buttons;
    if (b.Bitmap.Empty()) return;
    DrawFrame(img_, r, b.Bitmap, false, b.Tile == 1, b.Trans == 1, 5, frame, marginsOf(b));
    TColour c = m_.ButtonTextColour;
    if (frame == 1 && b.HasNormalColour2) c = b.NormalColour2;
    if (frame == 4 && b.HasMouseOverColour2) c = b.MouseOverColour2;
    if (frame == 2 && b.HasPressedColour2) c = b.PressedColour2;
    if (frame == 3) c = m_.ButtonShadowColour;
    int tx = r.Left + (r.Width() - LabelWidth(caption)) / 2 + (frame == 2 ? 1 : 0);
    int ty = r.Top + (r.Height() - kLabelHeight) / 2 + (frame == 2 ? 1 : 0);
    DrawLabel(img_, tx, ty, caption, px(c));
}

void Sheet::drawScrollbar(ImgRect r, bool vertical, int thumbStart, int thumbEnd, int hot) {
    const TDataSkinObject* parts = m_.Scrollbar();
    const TDataSkinObject* track = vertical ? m_.VertScroll() : m_.HorzScroll();
    const TDataSkinObject* thumb = vertical ? m_.VertScrollThumb() : m_.HorzScrollThumb();
    if (!parts || parts->Bitmap.Empty()) return;
    int t = parts->Bitmap.Height();
    int L = vertical ? r.Height() : r.Width();
    int a = std::min(t, L / 2);
    img_.FillRect(r, face_);
    if (track) {
        ImgRect tr = vertical ? MakeRect(r.Left, r.Top + a, r.Right, r.Bottom - a) : MakeRect(r.Left + a, r.Top, r.Right - a, r.Bottom);
        DrawFrame(img_, tr, track->Bitmap, false, track->Tile == 1, track->Trans == 1, 4, 1, marginsOf(*track));
    }
    int first = vertical ? 9 : 1, second = vertical ? 13 : 5;
    ImgRect a1 = vertical ? MakeRect(r.Left, r.Top, r.Right, r.Top + a) : MakeRect(r.Left, r.Top, r.Left + a, r.Bottom);
    ImgRect a2 = vertical ? MakeRect(r.Left, r.Bottom - a, r.Right, r.Bottom) : MakeRect(r.Right - a, r.Top, r.Right, r.Bottom);
    DrawFrameStretched(img_, a1, parts->Bitmap, true, 23, first + (hot == 0 ? 3 : 0));
    DrawFrameStretched(img_, a2, parts->Bitmap, true, 23, second + (hot == 1 ? 3 : 0));
    if (thumb) {
        int s = (vertical ? r.Top : r.Left) + thumbStart, e = (vertical ? r.Top : r.Left) + thumbEnd;
        ImgRect th = vertical ? MakeRect(r.Left, s, r.Left + t, e) : MakeRect(s, r.Top, e, r.Top + t);
        int tf = hot == 5 ? 3 : 1;
        DrawFrame(img_, th, thumb->Bitmap, false, thumb->Tile == 1, thumb->Trans == 1, thumb->FrameCount, tf,
                  marginsOf(*thumb));
        int g = parts->Bitmap.Height(), len = e - s;
        if (g < len + 2) {
            int o = s + (len - g) / 2;
            ImgRect gr = vertical ? MakeRect(r.Left, o, r.Left + t, o + g) : MakeRect(o, r.Top, o + g, r.Top + t);
            DrawFrameStretched(img_, gr, parts->Bitmap, true, 23, (vertical ? 20 : 17) + (hot == 5 ? 2 : 0));
        }
    }
}

void Sheet::drawProgress(ImgRect r, int percent) {
    const TDataSkinBorder* p = m_.Progress();
    if (!p || p->Bitmap.Empty()) return;
    img_.FillRect(r, face_);
    int w = r.Width(), h = r.Height();
    int f = w * percent / 100;
    if (p->Style == 0) {
        DrawFrame(img_, r, p->Bitmap, false, p->Tile == 1, true, 2, 1, marginsOf(*p));
        if (f > 0) DrawFrame(img_, MakeRect(r.Left, r.Top, r.Left + f, r.Bottom), p->Bitmap, false, p->Tile == 1, true, 2, 2, marginsOf(*p));
        return;
    }
    DrawFrame(img_, r, p->Bitmap, false, false, true, 1, 1, marginsOf(*p));
    const TDataSkinObject* c = m_.ProgressChunk();
    if (!c || c->Bitmap.Empty() || f <= 0) return;
    if (c->Tile == 1) {
        int cw = c->Bitmap.Width(), ch = c->Bitmap.Height();
        Image strip(f, ch, kMagenta);
        for (int i = 0; i <= f / cw; ++i) strip.Blit(i * cw, 0, c->Bitmap);
        TransparentDraw(img_, MakeRect(r.Left + c->LeftWidth + 2, r.Top + (h - ch) / 2, r.Left + c->LeftWidth + 2 + f,
                                       r.Top + (h - ch) / 2 + ch),
                        strip, kMagenta);
    } else {
        Image strip(f, h - 4, kMagenta);
        DrawThreePart(strip, MakeRect(0, 0, f, h), c->Bitmap, false, 1, 1, marginsOf(*c));
        TransparentDraw(img_, MakeRect(r.Left + 2, r.Top + 2, r.Left + 2 + f, r.Top + h - 2), strip, kMagenta);
    }
}

void Sheet::drawCombo(ImgRect r, int frame) {
    const TDataSkinBorder* cb = m_.ComboButton();
    if (!cb || cb->Bitmap.Empty()) return;
    if (cb->Style == 2) {
        // The combined strip keys its text area: the edit's own field shows through.
        img_.FillRect(r, px(SystemColour(5)));
        DrawFrame(img_, r, cb->Bitmap, false, cb->Tile == 1, true, cb->FrameCount, frame, marginsOf(*cb));
        return;
    }
    const TDataSkinObject* se = m_.SunkEdge();
    if (se) DrawFrame(img_, r, se->Bitmap, false, se->Tile == 1, se->Trans == 1, 4, frame, marginsOf(*se));
    ImgRect b = MakeRect(r.Right - 19, r.Top, r.Right - 2, r.Bottom);
    DrawFrameStretched(img_, b, cb->Bitmap, true, 4, frame);
}

void Sheet::drawWindow(int x0, int y0, int w, int h, bool active) {
    Image win(w, h, kDesk);
    auto borderFrame = [&](const TDataSkinBorder& b) { return (active || b.FrameCount <= 1) ? 1 : 2; };
    auto stacked = [](const TDataSkinBorder& b) { return b.FrameCount > 0 ? b.Bitmap.Height() / b.FrameCount : 0; };
    auto side = [](const TDataSkinBorder& b) { return b.FrameCount > 0 ? b.Bitmap.Width() / b.FrameCount : 0; };
    const TDataSkinBorder &L = *m_.FrameLeft, &R = *m_.FrameRight, &T = *m_.FrameTop, &B = *m_.FrameBottom;
    int bl = side(L), br = side(R), ch = stacked(T), bb = stacked(B), mb = m_.MenuBar() ? 19 : 0;
    auto piece = [&](const TDataSkinBorder& b, ImgRect rc, bool vertical) {
        if (b.Bitmap.Empty() || rc.Width() <= 0 || rc.Height() <= 0) return;
        Image p = BuildFrameBitmap(MakeRect(0, 0, rc.Width(), rc.Height()), b.Bitmap, marginsOf(b), vertical, b.Tile != 1,
                                   b.FrameCount, borderFrame(b));
        if (b.Trans == 1) TransparentDraw(win, rc, p, kMagenta);
        else win.Blit(rc.Left, rc.Top, p);
    };
    piece(L, MakeRect(0, 0, bl, h), false);
    piece(R, MakeRect(w - br, 0, w, h), false);
    piece(B, MakeRect(bl, h - bb, w - br, h), true);
    piece(T, MakeRect(bl, 0, w - br, ch), true);

    // Caption text and buttons.
    TColour tc = active ? m_.Title->ActiveTextColour : m_.Title->InactiveTextColour;
    if (tc == kColourNotSet) tc = active ? m_.TitleTextActiveColour : m_.TitleTextNoActiveColour;
    DrawLabel(win, m_.Title->LeftWidth, m_.Title->TopHeight + (ch - kLabelHeight) / 2, "TONEWELL WMA TO MP3", px(tc));
    auto shown = [&](int code, bool second) {
        switch (code) {
        case 0: case 2: case 6: case 8: return true;
        case 3: return active;
        case 4: return !active;
        default: return !second && code >= 201 && code <= 999;
        }
    };
    for (const auto& sb : m_.SysButtons) {
        if (sb->Visibility == 100 || sb->Bitmap.Empty() || sb->FrameCount <= 0) continue;
        if (!shown(sb->Visibility, false) || !shown(sb->Visibility1, true)) continue;
        int fw = sb->Bitmap.Width() / sb->FrameCount, fh = sb->Bitmap.Height();
        int left = sb->Align == 1 ? w - sb->XCoord : (sb->Align == 2 || sb->Align == 8) ? -fw - sb->XCoord : sb->XCoord;
        ImgRect rc = MakeRect(left, sb->YCoord, left + fw, sb->YCoord + fh);
        if (sb->Action == 3 || sb->Action == 11) {
            // Stand-in for the window icon.
            win.FillRect(MakeRect(rc.Left + 2, rc.Top + 2, rc.Right - 2, rc.Bottom - 2), 0x2F7FD0);
            win.FillRect(MakeRect(rc.Left + 5, rc.Top + 5, rc.Right - 5, rc.Bottom - 5), 0xFFFFFF);
            continue;
        }
        int frame = (!active && sb->FrameCount >= 4) ? 4 : 1;
        DrawFrameStretched(win, rc, sb->Bitmap, true, sb->FrameCount, frame);
    }

    // Menu band.
    ImgRect band = MakeRect(bl, ch, w - br, ch + mb);
    if (const TDataSkinObject* menu = m_.MenuBar()) {
        if (menu->Tile == 1) DrawFrame(win, band, menu->Bitmap, true, false, false, 2, active ? 1 : 2, marginsOf(*menu));
        else DrawHorzBar(win, band, menu->Bitmap, true, false, 2, active ? 1 : 2, marginsOf(*menu));
        int x = band.Left + menu->LeftWidth + 4 + 5;
        for (const char* item : {"FILE", "EDIT", "VIEW", "HELP"}) {
            DrawLabel(win, x, band.Top + (mb - kLabelHeight) / 2, item, px(m_.MenuBarTextColour));
            x += LabelWidth(item) + 16;
        }
    }
    // Client area with a few controls.
    ImgRect client = MakeRect(bl, ch + mb, w - br, h - bb);
    win.FillRect(client, face_);
    Image saved = std::move(img_);
    img_ = std::move(win);
    int cx = client.Left + 12, cy = client.Top + 12;
    // Job list: header and white rows with a vertical scroll bar.
    int listW = client.Width() - 24, listH = 96;
    img_.FillRect(MakeRect(cx, cy, cx + listW, cy + listH), px(SystemColour(5)));
    img_.FillRect(MakeRect(cx, cy, cx + listW, cy + 1), px(m_.ButtonShadowColour));
    if (const TDataSkinObject* hb = m_.Headerbar()) {
        int split = listW * 2 / 3;
        DrawFrame(img_, MakeRect(cx + 1, cy + 1, cx + split, cy + 21), hb->Bitmap, false, hb->Tile == 1, false, hb->FrameCount, 1, marginsOf(*hb));
        DrawFrame(img_, MakeRect(cx + split, cy + 1, cx + listW - 18, cy + 21), hb->Bitmap, false, hb->Tile == 1, false, hb->FrameCount, 2, marginsOf(*hb));
        DrawLabel(img_, cx + 6, cy + 8, "SOURCE FILE", px(hb->NormalColour2));
        DrawLabel(img_, cx + split + 6, cy + 8, "STATUS", px(hb->NormalColour2));
    }
    uint32_t rowText = px(SystemColour(8));  // the list and the edit stay native
    for (int i = 0; i < 3; ++i) {
        int ry = cy + 26 + i * 18;
        if (i == 1) img_.FillRect(MakeRect(cx + 1, ry - 4, cx + listW - 18, ry + 11), px(m_.HilightColour));
        DrawLabel(img_, cx + 6, ry, "C:/MUSIC/TRACK0" + std::to_string(i + 1) + ".WMA",
                  i == 1 ? px(m_.HilightTextColour) : rowText);
    }
    drawScrollbar(MakeRect(cx + listW - 17, cy + 1, cx + listW, cy + listH - 1), true, 17, 50, active ? 5 : -1);
    cy += listH + 12;
    drawButton(MakeRect(cx, cy, cx + 86, cy + 25), 1, "ADD");
    drawButton(MakeRect(cx + 94, cy, cx + 180, cy + 25), active ? 4 : 1, "DELETE");
    drawButton(MakeRect(cx + 188, cy, cx + 274, cy + 25), active ? 5 : 1, "CLEAR");
    drawButton(MakeRect(cx + 282, cy, cx + 368, cy + 25), 3, "OFF");
    cy += 36;
    drawCombo(MakeRect(cx, cy, cx + 220, cy + 21), 1);
    DrawLabel(img_, cx + 6, cy + 7, "D:/OUTPUT", rowText);
    drawButton(MakeRect(cx + 228, cy - 2, cx + 300, cy + 23), 1, "BROWSE");
    cy += 34;
    drawProgress(MakeRect(cx, cy, cx + listW, cy + 18), 62);
    cy += 30;
    const TDataSkinButton& bt = *m_.Buttons;
    if (!bt.CheckBitmap.Empty() && bt.CheckFrameCount > 0) {
        int n = bt.CheckFrameCount;
        DrawFrameStretched(img_, MakeRect(cx, cy, cx + bt.CheckBitmap.Width() / n, cy + bt.CheckBitmap.Height()),
                           bt.CheckBitmap, true, n, n >= 12 ? 5 : 2);
        DrawLabel(img_, cx + 18, cy + 3, "DELETE SOURCE", text_);
    }
    if (!bt.RadioBitmap.Empty() && bt.RadioFrameCount > 0) {
        int n = bt.RadioFrameCount;
        int rx = cx + 150;
        DrawFrameStretched(img_, MakeRect(rx, cy, rx + bt.RadioBitmap.Width() / n, cy + bt.RadioBitmap.Height()),
                           bt.RadioBitmap, true, n, n >= 8 ? 5 : 2);
        DrawLabel(img_, rx + 18, cy + 3, "128K", text_);
        DrawFrameStretched(img_, MakeRect(rx + 60, cy, rx + 60 + bt.RadioBitmap.Width() / n, cy + bt.RadioBitmap.Height()),
                           bt.RadioBitmap, true, n, 1);
        DrawLabel(img_, rx + 78, cy + 3, "192K", text_);
    }
    win = std::move(img_);
    img_ = std::move(saved);
    img_.Blit(x0, y0, win);
}

void Sheet::windows() {
    int w = 500, h = 370;
    int top = row("WINDOW", h + 14, "ACTIVE / INACTIVE");
    drawWindow(10 + 4, top + 24, w, h, true);
    drawWindow(10 + w + 16, top + 24, w, h, false);
    y_ = top + 24 + h + 16;
}

void Sheet::elements() {
    auto one = [&](const std::string& label, const TDataSkinObject* e, int frames, int w = 0, int h = 0, bool zoomed = false,
                   bool vertical = false, bool keyed = false) {
        std::string sub = e ? std::to_string(frames) + " FRAMES" : "ABSENT";
        int top = row(label, 10, sub);
        int used = e ? strip(*e, frames, top, w, h, zoomed, vertical, keyed) : 10;
        y_ = top + std::max(used, 30) + 8;
    };
    const TSkinModel& m = m_;
    one("[PERSONALITY] TOP", m.FrameTop.get(), std::max(1, m.FrameTop->FrameCount), 420, 0, false, true);
    one("[PERSONALITY] BOTTOM", m.FrameBottom.get(), std::max(1, m.FrameBottom->FrameCount), 420, 0, false, true);
    one("[PERSONALITY] LEFT", m.FrameLeft.get(), std::max(1, m.FrameLeft->FrameCount), 0, 160);
    one("[PERSONALITY] RIGHT", m.FrameRight.get(), std::max(1, m.FrameRight->FrameCount), 0, 160);
    one("[PERSONALITY] MENUBAR", m.MenuBar(), 2, 400, 19, false, true);
    for (const auto& sb : m.SysButtons) {
        if (sb->Bitmap.Empty() || sb->FrameCount <= 0) continue;
        if (sb->Action >= 7 && sb->Action <= 9) continue;
        one("[" + sb->Name + "]", sb.get(), sb->FrameCount, 0, 0, true, false, true);
    }
    for (const auto& sb : m.SysButtons)
        if (sb->Action >= 7 && sb->Action <= 9 && !sb->Bitmap.Empty())
            one("MDI CHILD ACTION " + std::to_string(sb->Action), sb.get(), sb->FrameCount, 0, 0, true, false, true);
    one("[BUTTONS] BITMAP", m.Buttons.get(), 5, 96, 25);
    {
        const TDataSkinButton& b = *m.Buttons;
        int top = row("[BUTTONS] CHECK/RADIO", 10, std::to_string(b.CheckFrameCount) + " + " + std::to_string(b.RadioFrameCount) + " FRAMES");
        int x = kLabelColumn;
        auto small = [&](const Image& img, int n) {
            if (img.Empty() || n <= 0) return;
            int fw = img.Width() / n;
            for (int k = 1; k <= n; ++k) {
                DrawFrameStretched(img_, MakeRect(x, top, x + fw, top + img.Height()), img, true, n, k);
                frameNumber(x, top + img.Height() + 3, k);
                x += fw + 12;
            }
            x += 16;
        };
        small(b.CheckBitmap, b.CheckFrameCount);
        small(b.RadioBitmap, b.RadioFrameCount);
        int zy = top + 26;
        Image z1 = zoom(b.CheckBitmap, 3), z2 = zoom(b.RadioBitmap, 3);
        img_.Blit(kLabelColumn, zy, z1);
        img_.Blit(kLabelColumn, zy + z1.Height() + 4, z2);
        y_ = zy + z1.Height() + z2.Height() + 16;
    }
    {
        int top = row("[PROGRESS]", 80, m.Progress() ? "STYLE " + std::to_string(m.Progress()->Style) : "ABSENT");
        int pct[] = {0, 30, 70, 100};
        for (int i = 0; i < 4; ++i) {
            drawProgress(MakeRect(kLabelColumn, top + i * 24, kLabelColumn + 300, top + i * 24 + 18), pct[i]);
            DrawLabel(img_, kLabelColumn + 310, top + i * 24 + 6, std::to_string(pct[i]) + "%", Mid());
        }
    }
    if (m.Progress()) one("[PROGRESS] BITMAP", m.Progress(), m.Progress()->FrameCount, 120, 18);
    if (m.ProgressChunk()) one("[PROGRESS.CHUNK]", m.ProgressChunk(), std::max(1, m.ProgressChunk()->FrameCount), 0, 0, true);
    one("[GROUPBOXEDGE]", m.GroupBoxEdge(), 2, 160, 60);
    one("[GROUPBOX]", m.GroupBox(), 1, 120, 20);
    {
        int top = row("[TABS] WITH PANE", 110, m.Tabs() ? "STYLE " + std::to_string(m.Tabs()->Style) : "ABSENT");
        const TDataSkinBorder* t = m.Tabs();
        if (t) {
            int x = kLabelColumn;
            ImgRect pane = MakeRect(x, top + 24, x + 420, top + 110);
            const Image& paneImg = t->Style == 0 ? t->Bitmap2 : (m.TabPane() ? m.TabPane()->Bitmap : t->Bitmap2);
            FrameMargins pm = t->Style == 0 ? FrameMargins{4, 5, 4, 4}
                                            : (m.TabPane() ? marginsOf(*m.TabPane()) : FrameMargins{4, 4, 4, 4});
            if (!paneImg.Empty()) DrawFrame(img_, pane, paneImg, false, false, false, 1, 1, pm);
            const char* names[] = {"GENERAL", "OUTPUT", "ADVANCED"};
            for (int i = 0; i < 3; ++i) {
                int tf = i == 0 ? 2 : 1;
                ImgRect tr = MakeRect(x + i * 90, top + 1, x + i * 90 + 88, top + 25);
                DrawFrame(img_, tr, t->Bitmap, false, t->Tile == 1, t->Trans == 1, 5, tf, marginsOf(*t));
                TColour c = tf == 2 ? t->MouseOverColour2 : t->NormalColour2;
                DrawLabel(img_, tr.Left + (88 - LabelWidth(names[i])) / 2, tr.Top + 9, names[i], px(c));
            }
        }
    }
    one("[TABS] IMAGE", m.Tabs(), 5, 70, 24);
    one("[TAB.PANE]", m.TabPane(), 1, 160, 60);
    one("[STATUSBAREDGES]", m.StatusBarEdges(), 3, 120, 22);
    one("[TOOLBARS]", m.ToolBars(), 5, 28, 28);
    {
        int top = row("COMBO BOX", 10, "COMBINED BUTTON");
        for (int k = 1; k <= 4; ++k) {
            int x = kLabelColumn + (k - 1) * 205;
            drawCombo(MakeRect(x, top, x + 195, top + 21), k);
            frameNumber(x, top + 25, k);
        }
        y_ = top + 46;
    }
    one("[COMBOBUTTON] COMBINED", m.ComboButton(), m.ComboButton() ? m.ComboButton()->FrameCount : 0);
    one("[SUNKEDGE]", m.SunkEdge(), m.SunkEdge() ? m.SunkEdge()->FrameCount : 0);
    one("COMBO ARROW (DERIVED)", m.ComboArrow(), m.ComboArrow() ? m.ComboArrow()->FrameCount : 0, 0, 0, true);
    one("[EXTRAIMAGES]", m.ExtraImages(), 5, 0, 0, true, false, true);
    one("[HEADERBAR]", m.Headerbar(), m.Headerbar() ? m.Headerbar()->FrameCount : 0, 110, 20);
    {
        int top = row("POPUP MENU", 130, "BACKGROUND + ITEMS");
        const TDataSkinObject* bg = m.MenuBackground();
        const TDataSkinObject* it = m.MenuItem();
        ImgRect r = MakeRect(kLabelColumn, top, kLabelColumn + 200, top + 3 + 4 * 20 + 9 + 3);
        if (bg) DrawFrame(img_, r, bg->Bitmap, false, bg->Tile == 1, false, 1, 1, marginsOf(*bg));
        else img_.FillRect(r, px(m.MenuColour));
        const char* items[] = {"OPEN...", "CONVERT", "-", "OPTIONS", "EXIT"};
        int y = top + 3;
        for (int i = 0; i < 5; ++i) {
            bool sep = items[i][0] == '-';
            int hgt = sep ? 9 : 20;
            ImgRect ir = MakeRect(r.Left + 3, y, r.Right - 3, y + hgt);
            if (it && !it->Bitmap.Empty()) {
                if (sep) {
                    int fw = it->Bitmap.Width() / 5, ih = it->Bitmap.Height();
                    int sy = ih > hgt ? ih - hgt : 0;
                    Image s(ir.Width(), hgt, kMagenta);
                    StretchCopy(s, MakeRect(0, 0, ir.Width(), hgt), it->Bitmap, MakeRect(fw, sy, 2 * fw, sy + hgt));
                    TransparentDraw(img_, ir, s, kMagenta);
                } else {
                    DrawFrame(img_, ir, it->Bitmap, false, it->Tile == 1, it->Trans == 1, 5, i == 1 ? 4 : 1, marginsOf(*it));
                }
            }
            if (!sep)
                DrawLabel(img_, ir.Left + 1 + (it ? it->LeftWidth : 0) + 16 + 3, ir.Top + 7, items[i],
                          i == 1 ? px(m.HilightTextColour) : px(m.MenuTextColour));
            y += hgt;
        }
    }
    one("[MENUITEM]", m.MenuItem(), 5, 90, 20);
    one("[MENUBACKGROUND]", m.MenuBackground(), 1, 120, 60);
    {
        int top = row("SCROLL BARS", 150, "COMPOSED");
        drawScrollbar(MakeRect(kLabelColumn, top, kLabelColumn + 17, top + 150), true, 17, 70, -1);
        drawScrollbar(MakeRect(kLabelColumn + 30, top, kLabelColumn + 47, top + 150), true, 60, 110, 5);
        drawScrollbar(MakeRect(kLabelColumn + 60, top, kLabelColumn + 77, top + 150), true, 90, 130, 1);
        drawScrollbar(MakeRect(kLabelColumn + 100, top, kLabelColumn + 400, top + 17), false, 40, 140, -1);
        drawScrollbar(MakeRect(kLabelColumn + 100, top + 30, kLabelColumn + 400, top + 47), false, 160, 240, 5);
    }
    one("[SCROLLBAR]", m.Scrollbar(), 23, 0, 0, true, false, true);
    one("[HORZSCROLL]", m.HorzScroll(), 4, 60, 17);
    one("[VERTSCROLL]", m.VertScroll(), 4, 17, 60);
    one("[HORZSCROLLTHUMB]", m.HorzScrollThumb(), m.HorzScrollThumb() ? m.HorzScrollThumb()->FrameCount : 0, 60, 17);
    one("[VERTSCROLLTHUMB]", m.VertScrollThumb(), m.VertScrollThumb() ? m.VertScrollThumb()->FrameCount : 0, 17, 60);
    const std::pair<const char*, const TDataSkinObject*> thumbs[] = {
        {"[TRACKBAR.THUMBHORZ]", m.TrackThumbHorz()}, {"[TRACKBAR.THUMBVERT]", m.TrackThumbVert()},
        {"[TRACKBAR.THUMBLEFT]", m.TrackThumbLeft()}, {"[TRACKBAR.THUMBRIGHT]", m.TrackThumbRight()},
        {"[TRACKBAR.THUMBUP]", m.TrackThumbUp()},     {"[TRACKBAR.THUMBDOWN]", m.TrackThumbDown()}};
    for (const auto& [name, e] : thumbs) one(name, e, 5, 0, 0, true, false, true);
    {
        int top = row("TRACK BARS", 110, "CHANNEL + THUMB");
        if (const TDataSkinObject* t = m.Track()) {
            ImgRect c = MakeRect(kLabelColumn, top + 10, kLabelColumn + 300, top + 10 + t->Bitmap.Height());
            DrawThreePart(img_, c, t->Bitmap, false, std::max(1, t->FrameCount), 1, marginsOf(*t));
            if (const TDataSkinObject* th = m.TrackThumbHorz()) {
                int tw = frameWidth(*th), thh = th->Bitmap.Height();
                int tx = kLabelColumn + 120, ty = c.Top + c.Height() / 2 - thh / 2;
                DrawFrameStretched(img_, MakeRect(tx, ty, tx + tw, ty + thh), th->Bitmap, true, 5, 2);
            }
        }
        if (const TDataSkinObject* t = m.TrackVert()) {
            int x = kLabelColumn + 340;
            ImgRect c = MakeRect(x, top, x + t->Bitmap.Width(), top + 100);
            Image piece = BuildFrameBitmap(MakeRect(0, 0, c.Width(), c.Height()), t->Bitmap, marginsOf(*t), false, false, 1, 1);
            img_.Blit(c.Left, c.Top, piece);
            if (const TDataSkinObject* th = m.TrackThumbVert()) {
                int tw = frameWidth(*th), thh = th->Bitmap.Height();
                int tx = c.Left + c.Width() / 2 - tw / 2, ty = top + 40;
                DrawFrameStretched(img_, MakeRect(tx, ty, tx + tw, ty + thh), th->Bitmap, true, 5, 2);
            }
        }
    }
    one("[TRACK]", m.Track(), std::max(1, m.Track() ? m.Track()->FrameCount : 1), 120, 0);
    one("[TRACKVERT]", m.TrackVert(), std::max(1, m.TrackVert() ? m.TrackVert()->FrameCount : 1), 0, 80);
    {
        int top = row("UP-DOWN", 40, "COMPOSED, EACH STATE");
        auto ud = [&](const TDataSkinBorder* e, bool horz, int x) {
            if (!e || e->Bitmap.Empty()) return;
            for (int s = 0; s < 4; ++s) {
                int bx = x + s * (horz ? 52 : 30);
                for (int half = 0; half < 2; ++half) {
                    ImgRect hr = horz ? MakeRect(bx + half * 20, top, bx + half * 20 + 20, top + 16)
                                      : MakeRect(bx, top + half * 12, bx + 18, top + half * 12 + 12);
                    int f = half * 4 + s + 1;
                    DrawFrameStretched(img_, hr, e->Bitmap, true, 8, f);
                    if (!e->Bitmap2.Empty()) DrawFrameCentred(img_, hr, e->Bitmap2, true, 8, f);
                }
            }
        };
        ud(m.UpDownHorz(), true, kLabelColumn);
        ud(m.UpDownVert(), false, kLabelColumn + 240);
    }
    one("[UPDOWN.HORZ]", m.UpDownHorz(), 8, 0, 0, true, false, true);
    one("[UPDOWN.VERT]", m.UpDownVert(), 8, 0, 0, true, false, true);
    if (m.Toolbar()) one("TOOL BAR GRADIENT (DERIVED)", m.Toolbar(), 1, 200, 40);
    if (!m.Title->Bitmap.Empty()) one("[PERSONALITY] TEXTBACK", m.Title.get(), 1, 120, 0);
}

void Sheet::colours() {
    struct Named { const char* name; TColour c; };
    const Named list[] = {{"WINDOWTEXT", m_.WindowTextColour},       {"BUTTONFACE", m_.ButtonFaceColour},
                          {"SCROLLBAR", m_.ScrollbarColour},         {"HILIGHTTEXT", m_.HilightTextColour},
                          {"HILIGHT", m_.HilightColour},             {"MENUBAR", m_.MenubarColour},
                          {"MENU", m_.MenuColour},                   {"MENUTEXT", m_.MenuTextColour},
                          {"BUTTONTEXT", m_.ButtonTextColour},       {"BUTTONHILIGHT", m_.ButtonHilightColour},
                          {"BUTTONLIGHT", m_.ButtonlightColour},     {"BUTTONSHADOW", m_.ButtonShadowColour},
                          {"BUTTONDKSHADOW", m_.ButtonDkShadowColour}, {"MENUBARTEXT", m_.MenuBarTextColour},
                          {"TITLETEXTACTIVE", m_.TitleTextActiveColour}, {"TITLETEXTNOACTIVE", m_.TitleTextNoActiveColour},
                          {"FRAME (DERIVED)", m_.FrameColour}};
    int n = int(std::size(list));
    int rows = (n + 3) / 4;
    int top = row("[COLOURS]", rows * 26);
    for (int i = 0; i < n; ++i) {
        int x = kLabelColumn + (i % 4) * 210, y = top + (i / 4) * 26;
        uint32_t c = px(list[i].c);
        img_.FillRect(MakeRect(x, y, x + 40, y + 20), px(m_.ButtonDkShadowColour));
        img_.FillRect(MakeRect(x + 1, y + 1, x + 39, y + 19), c);
        DrawLabel(img_, x + 46, y + 7, list[i].name, text_);
    }
    int top2 = row("[CUSTOMCOLORS] [COLOUR...]", 26);
    int x = kLabelColumn;
    for (TColour c : m_.CustomColours) {
        img_.FillRect(MakeRect(x, top2, x + 30, top2 + 20), px(m_.ButtonDkShadowColour));
        img_.FillRect(MakeRect(x + 1, top2 + 1, x + 29, top2 + 19), px(c));
        x += 36;
    }
    x += 20;
    for (TColour c : m_.ColourList) {
        img_.FillRect(MakeRect(x, top2, x + 30, top2 + 20), px(m_.ButtonDkShadowColour));
        img_.FillRect(MakeRect(x + 1, top2 + 1, x + 29, top2 + 19), px(c));
        x += 36;
    }
}

} // namespace

Image RenderPreview(const SkinFiles& skin) {
    const SkinFile* settings = nullptr;
    for (const SkinFile& f : skin.files) {
        std::string lower = f.name;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        if (lower.find(".ini") != std::string::npos) {
            settings = &f;
            break;
        }
    }
    if (!settings) throw SkinToolError("no settings file: nothing to preview");
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(settings->data.data()), settings->data.size()));
    TSkinModel model;
    FilesSource files(skin);
    TQuickIniSettings reader(ini);
    try {
        model.Build(files, reader, TSkinEnvironment{});
    } catch (const std::exception& e) {
        throw SkinToolError(std::string("the skin model does not build: ") + e.what());
    }
    Sheet sheet(model);
    sheet.title(model.SkinName.empty() ? settings->name : model.SkinName);
    sheet.windows();
    sheet.elements();
    sheet.colours();
    return sheet.finish();
}

} // namespace skintool
