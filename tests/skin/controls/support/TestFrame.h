// The frame side of skinned controls for tests (Windows): a fixed skin whose
// every frame has its own colour, the switches as plain fields, and the list
// of skinned controls; plus painting a window into an off-screen surface.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Classes.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"
#include "tests/skin/data/model/SkinTestPackage.h"

namespace skintest {

// Frame k of the Buttons strip is RGB(0x10, 0, k); of the Progress strip
// RGB(0x20, 0, k).
constexpr uint32_t kButtonBase = 0x100000, kProgressBase = 0x200000;
inline COLORREF ButtonFrameRGB(int k) { return RGB(0x10, 0, k); }
inline COLORREF ProgressFrameRGB(int k) { return RGB(0x20, 0, k); }
const COLORREF kFaceRGB = RGB(200, 200, 200), kShadowRGB = RGB(10, 20, 30), kTextRGB = RGB(0, 0, 0);
const COLORREF kHotTextRGB = RGB(0, 0, 255);

inline std::unique_ptr<TSkinModel> BuildSkin(bool withButtons = true, bool withProgress = true) {
  std::string ini = "[Colours]\nButtonFace=200 200 200\nButtonShadow=10 20 30\nButtonText=0 0 0\n";
  if (withButtons) ini += "[Buttons]\nBitmap=buttons.bmp\nMouseOverColour2=0 0 255\n";
  if (withProgress) ini += "[Progress]\nBitmap=progress.bmp\nStyle=0\n";
  SkinTestPackage p(ini);
  p.Add("buttons.bmp", FrameStrip(5, 20, 20, kButtonBase));
  p.Add("progress.bmp", FrameStrip(2, 10, 10, kProgressBase));
  auto model = std::make_unique<TSkinModel>();
  p.BuildInto(*model);
  return model;
}

class TTestFrame : public TSkinFrameLink {
 public:
  explicit TTestFrame(HWND window, std::unique_ptr<TSkinModel> model = BuildSkin())
      : FWindow(window), FModel(std::move(model)) {}
  ~TTestFrame() override { ReleaseAll(); }

  // --- TSkinFrameLink
  const TSkinModel* SkinModel() const override { return FModel.get(); }
  uint32_t SkinControls() const override { return Controls; }
  uint32_t SkinOptions() const override { return Options; }
  int DisableTag() const override { return Disable; }
  const TStringList* Skin3rd() const override { return &Third; }
  HBRUSH FaceBrush() const override { return nullptr; }
  TSkinControl* QuerySkinControl(TWinControl* parent, TControl* control, const std::wstring& cls) override {
    return OnSkinControl ? OnSkinControl(parent, control, cls) : nullptr;
  }
  HWND FrameWindow() const override { return FWindow; }
  TCustomForm* FrameForm() const override { return nullptr; }
  TCanvas* Canvas(int) override { return nullptr; }
  bool IsListed(HWND window) const override {
    return std::any_of(FList.begin(), FList.end(), [&](TSkinControl* c) { return c->Handle() == window; });
  }
  bool IsListed(const TSkinControl* object) const override {
    return std::find(FList.begin(), FList.end(), object) != FList.end();
  }
  void AddSkinnedControl(TSkinControl* object) override {
    if (!IsListed(object)) FList.push_back(object);
  }
  void RemoveSkinnedControl(TSkinControl* object) override {
    FList.erase(std::remove(FList.begin(), FList.end(), object), FList.end());
  }
  void SetHoveredControl(TSkinControl* object) override { FHovered = object; }
  TSkinControl* HoveredControl() const override { return FHovered; }

  // Unskins and frees every listed object, as the frame does.
  void ReleaseAll() {
    while (!FList.empty()) {
      TSkinControl* c = FList.front();
      if (c->LifeState() != kSkinWindowDestroyed) c->Unskin();
      RemoveSkinnedControl(c);
      TComponent::Free(c);
    }
  }
  const std::vector<TSkinControl*>& List() const { return FList; }
  // The listed object of a window, or nullptr.
  TSkinControl* Find(HWND window) const {
    for (TSkinControl* c : FList)
      if (c->Handle() == window) return c;
    return nullptr;
  }

  uint32_t Controls = kDefaultSkinControls;
  uint32_t Options = kDefaultSkinOptions;
  int Disable = 99;
  TStringList Third;
  std::function<TSkinControl*(TWinControl*, TControl*, const std::wstring&)> OnSkinControl;

 private:
  HWND FWindow;
  std::unique_ptr<TSkinModel> FModel;
  std::vector<TSkinControl*> FList;
  TSkinControl* FHovered = nullptr;
};

// The window painted by its own WM_PAINT handling into an off-screen
// surface of its window size (pre-filled with `background`).
inline Image PaintToImage(HWND window, uint32_t background = 0x00FF7F00) {
  RECT r{};
  GetWindowRect(window, &r);
  DibSurface s;
  if (!s.Resize(r.right - r.left, r.bottom - r.top)) return Image();
  std::fill(s.Bits(), s.Bits() + size_t(s.Width()) * size_t(s.Height()), background);
  SendMessageW(window, WM_PAINT, WPARAM(s.DC()), 0);
  return s.ToImage();
}

inline COLORREF At(const Image& img, int x, int y) {
  const uint32_t p = img.Pixel(x, y);
  return RGB(PixelR(p), PixelG(p), PixelB(p));
}

}  // namespace skintest
