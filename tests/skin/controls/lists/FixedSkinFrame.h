// The frame side of skinned controls for tests and timing drivers: a fixed
// skin model and a plain list of skinned controls (Windows).
#pragma once

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/Core.h"
#include "skin/controls/SkinFrameLink.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/SkinModel.h"

class TFixedSkinFrame : public TSkinFrameLink {
 public:
  TFixedSkinFrame(HWND window, std::unique_ptr<TSkinModel> model) : FWindow(window), FModel(std::move(model)) {}
  ~TFixedSkinFrame() override { ReleaseAll(); }

  const TSkinModel* SkinModel() const override { return FModel.get(); }
  uint32_t SkinControls() const override { return kDefaultSkinControls; }
  uint32_t SkinOptions() const override { return kDefaultSkinOptions; }
  int DisableTag() const override { return 99; }
  const TStringList* Skin3rd() const override { return nullptr; }
  HBRUSH FaceBrush() const override { return nullptr; }
  TSkinControl* QuerySkinControl(TWinControl*, TControl*, const std::wstring&) override { return nullptr; }
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

 private:
  HWND FWindow;
  std::unique_ptr<TSkinModel> FModel;
  std::vector<TSkinControl*> FList;
  TSkinControl* FHovered = nullptr;
};
