#include "tests/e2e/SkinMenuDriver.h"

#include <algorithm>
#include <cstdlib>

#include "tests/e2e/Driver.h"
#include "tests/support/WindowCapture.h"

namespace e2e {

namespace {

uint32_t At(const Image& image, int x, int y) { return image.Pixels()[size_t(y) * size_t(image.Width()) + size_t(x)]; }

// Whether row y of the two captures differs anywhere.
bool RowDiffers(const Image& a, const Image& b, int y) {
  for (int x = 0; x < a.Width(); ++x)
    if (PixelRGB(At(a, x, y)) != PixelRGB(At(b, x, y))) return true;
  return false;
}

// The run of changed rows (menu coordinates) that holds row `y`; empty
// when row `y` itself is unchanged.
bool ChangedBlock(const Image& base, const Image& now, int y, int& top, int& bottom) {
  if (base.Width() != now.Width() || base.Height() != now.Height()) return false;
  if (y < 0 || y >= now.Height() || !RowDiffers(base, now, y)) return false;
  top = bottom = y;
  while (top > 0 && RowDiffers(base, now, top - 1)) --top;
  while (bottom + 1 < now.Height() && RowDiffers(base, now, bottom + 1)) ++bottom;
  return true;
}

// Puts the pointer at menu row `y` until that row shows highlighted (Wine's
// menu loop can miss the first move after a warp); the highlighted block.
bool HoverRow(HWND menu, const Image& base, int y, int& top, int& bottom) {
  RECT w{};
  GetWindowRect(menu, &w);
  const int x = (w.right - w.left) / 2;
  for (int attempt = 0; attempt < 8; ++attempt) {
    MouseAt(POINT{w.left + x + attempt % 2, w.top + y});
    if (WaitUntil([&] { return ChangedBlock(base, twtest::CaptureWindow(menu), y, top, bottom); }, 1500))
      return true;
  }
  return false;
}

}  // namespace

void MouseAt(POINT screen, DWORD buttons) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((screen.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN));
  in.mi.dy = LONG((screen.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
  SendInput(1, &in, sizeof in);
}

void KeyPress(WORD vk) {
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof in[0]);
}

POINT CaptionPoint(HWND main) {
  RECT w{};
  GetWindowRect(main, &w);
  POINT client{0, 0};
  ClientToScreen(main, &client);
  // Left third of the band above the client area: past the icon, short of
  // the buttons at the right.
  return POINT{w.left + (w.right - w.left) / 3, w.top + std::max(4L, (client.y - w.top) / 2)};
}

HWND OpenSystemMenu(DWORD pid, HWND main) {
  const POINT at = CaptionPoint(main);
  for (int attempt = 0; attempt < 5; ++attempt) {
    MouseAt(at);
    WaitUntil([&] {
      POINT p{};
      return GetCursorPos(&p) && p.x == at.x && p.y == at.y;
    }, 2000);
    MouseAt(at, MOUSEEVENTF_RIGHTDOWN);
    MouseAt(at, MOUSEEVENTF_RIGHTUP);
    if (HWND menu = WaitForTopWindow(pid, L"#32768", 3000)) {
      // Fully painted: two captures alike.
      Image last;
      WaitUntil([&] {
        Image now = twtest::CaptureWindow(menu);
        const bool same = !now.Empty() && now == last;
        last = std::move(now);
        return same;
      }, 3000);
      return menu;
    }
  }
  return nullptr;
}

void CloseMenu(HWND menu) {
  KeyPress(VK_ESCAPE);
  WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000);
}

bool FindLastRows(HWND menu, const Image& base, int count, std::vector<RECT>& rows) {
  rows.assign(size_t(count), RECT{});
  RECT w{};
  GetWindowRect(menu, &w);
  // From the bottom item (just inside the border) upwards, each row found
  // by its own highlight.
  int y = (w.bottom - w.top) - 6;
  for (int i = count - 1; i >= 0; --i) {
    int top = 0, bottom = 0;
    if (!HoverRow(menu, base, y, top, bottom)) return false;
    rows[size_t(i)] = RECT{w.left, w.top + top, w.right, w.top + bottom + 1};
    y = top - 1 - (bottom - top + 1) / 2;
  }
  return true;
}

int CheckedRow(HWND menu, const Image& base, const std::vector<RECT>& rows) {
  RECT w{};
  GetWindowRect(menu, &w);
  if (rows.empty() || base.Empty()) return -1;
  // Ink in the check-mark column (the first 24 pixels inside the border):
  // pixels far from their scan line's background, read at the column's
  // left edge (menu backgrounds may fade from top to bottom).
  const int left = 3, right = std::min(base.Width(), 27);
  auto ink = [&](const RECT& r) {
    int n = 0;
    for (int y = int(r.top - w.top); y < int(r.bottom - w.top) && y < base.Height(); ++y) {
      const uint32_t back = At(base, left, y);
      for (int x = left + 1; x < right; ++x) {
        const uint32_t p = At(base, x, y);
        const int d = std::max({std::abs(PixelR(p) - PixelR(back)), std::abs(PixelG(p) - PixelG(back)),
                                std::abs(PixelB(p) - PixelB(back))});
        if (d > 48) ++n;
      }
    }
    return n;
  };
  int found = -1;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (ink(rows[i]) < 6) continue;
    if (found >= 0) return -1;  // two rows carry marks: no single check
    found = int(i);
  }
  return found;
}

Image Quiet(const std::function<Image()>& capture, DWORD quietMs, DWORD limitMs) {
  Image last = capture();
  DWORD since = GetTickCount();
  WaitUntil([&] {
    Image now = capture();
    if (!(now == last)) {
      last = std::move(now);
      since = GetTickCount();
    }
    return GetTickCount() - since >= quietMs;
  }, limitMs);
  return last;
}

TChoice ChooseSkinByMouse(DWORD pid, HWND main, int index, int count) {
  TChoice choice;
  // Now and then Wine's menu loop ignores the pointer over a freshly opened
  // menu for good; closing it and opening it again helps.
  for (int attempt = 0; attempt < 3; ++attempt) {
    HWND menu = OpenSystemMenu(pid, main);
    if (!menu) {
      choice.Failure = "the menu did not open";
      return choice;
    }
    const Image base = twtest::CaptureWindow(menu);
    std::vector<RECT> rows;
    if (!FindLastRows(menu, base, count, rows)) {
      choice.Failure = "the skin items did not highlight";
      CloseMenu(menu);
      continue;
    }
    choice.CheckedBefore = CheckedRow(menu, base, rows);
    const RECT& r = rows[size_t(index)];
    RECT w{};
    GetWindowRect(menu, &w);
    int top = 0, bottom = 0;
    const int y = int((r.top + r.bottom) / 2 - w.top);
    if (!HoverRow(menu, base, y, top, bottom)) {
      choice.Failure = "the chosen item did not highlight";
      CloseMenu(menu);
      continue;
    }
    const POINT at{w.left + (w.right - w.left) / 2, w.top + y};
    MouseAt(at, MOUSEEVENTF_LEFTDOWN);
    MouseAt(at, MOUSEEVENTF_LEFTUP);
    choice.Clicked = WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 5000);
    choice.Failure = choice.Clicked ? "" : "the menu stayed open after the click";
    return choice;
  }
  return choice;
}

}  // namespace e2e
