// The skinned frame of one top-level window (Windows).
//
// Classes in this file:
//   TWinSkinForm   takes over the non-client area of a library form or a
//                  standard dialog box: size calculation keeping the client
//                  size, hit testing, painting of the borders and the caption
//                  band (title text and caption buttons), activation, the
//                  window region from keyed border pixels; dispatches the
//                  child controls once WM_SKINFORM arrives; gives everything
//                  back on detach (procedure, hook, style bits, region,
//                  client size, colour, native menu). A window with a menu
//                  gets the skinned menu bar (TWinSkinMenu) in a band below
//                  the caption.
//
// Life states: 0 created, 1 skinned, 3 re-applying, 4 detaching on destroy,
// 5 applying the frame, 6 window destroyed (the manager frees the frame).
//
// Not handled yet: MDI frames and children beyond recording their role.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Core.h"
#include "gui/Graphics.h"
#include "gui/Messages.h"
#include "gui/Subclass.h"
#include "skin/controls/SkinFrameLink.h"
#include "skin/controls/SkinTextColour.h"
#include "skin/window/CaptionButtons.h"
#include "skin/window/FrameGeometry.h"

class TCustomForm;
class TSkinData;
class TSkinManage;
class TTimer;
class TObject;
class TWinSkinMenu;

enum : int {
  kFrameCreated = 0,
  kFrameSkinned = 1,
  kFrameReapplying = 3,
  kFrameDetachingOnDestroy = 4,
  kFrameApplying = 5,
  kFrameWindowDestroyed = 6
};

class TWinSkinForm : public TComponent, public TSkinFrameLink, public TCaptionFrame {
  TW_DECLARE_CLASS(TWinSkinForm, TComponent)
 public:
  // --- construction
  // owner: the library form, or null for a bare window.
  TWinSkinForm(TComponent* owner, TSkinManage* manager, HWND window, HINSTANCE module,
               const std::wstring& className);
  ~TWinSkinForm() override;

  // --- attaching and detaching
  // Library form: OnBeforeSkinForm, common attach, the form's message hook,
  // the form's colour becomes the skin's face colour.
  void AttachForm(TSkinData* skin, TCustomForm* form);
  // Bare window (standard dialogs): the common attach.
  void AttachWindow(TSkinData* skin);
  // Full restore: procedure, hook, style, colour, client size, region.
  void Detach();
  // Procedure, hook and skinned controls only (the window is going).
  void DetachQuick();

  // --- operations
  // Frame sizes from the skin; caption buttons rebuilt.
  void RecalcGeometry();
  // Re-applies the skin after a skin change (keeps the client size).
  void Reapply();
  // Paints the non-client area onto dc (null: a window DC).
  void PaintFrame(HDC dc);
  void BuildRegion();
  void ReleaseRegion();
  void DropCaptionButtons();
  // A size-grip scroll bar created on the window later (the hook's call).
  void SkinSizeGrip(HWND grip);

  // --- attributes
  HWND Window() const { return FWindow; }
  HINSTANCE Module() const { return FModule; }
  TSkinData* Skin() const { return FSkin; }
  TCustomForm* Form() const { return FForm; }
  int LifeState() const { return FLifeState; }
  const TFrameSizes& Sizes() const { return FSizes; }
  bool IsActive() const { return FActive; }
  bool FrameSkinned() const { return FFrameSkinned; }
  TBorderKind BorderKind() const { return FBorderKind; }
  TShowState ShowState() const { return FShowState; }
  uint8_t Capabilities() const { return FCapabilities; }
  bool OwnsRegion() const { return FRegion != nullptr; }
  bool SkinMessageSeen() const { return FSkinMessageSeen; }
  // The client size captured when WM_SKINFORM arrived.
  SIZE SavedClientSize() const { return FSavedClientSize; }
  TCaptionButtons* Buttons() const { return FButtons; }
  // The skinned menu bar, or null.
  TWinSkinMenu* MenuBar() const { return FMenuBar; }
  // A menu-bar drop-down is being tracked.
  void SetMenuOpen(bool open) { FMenuOpen = open; }
  TTimer* HoverTimer() const { return FHoverTimer; }
  const std::vector<TSkinControl*>& SkinnedControls() const { return FSkinnedControls; }

  // --- TSkinFrameLink
  const TSkinModel* SkinModel() const override;
  uint32_t SkinControls() const override;
  uint32_t SkinOptions() const override;
  int DisableTag() const override;
  const TStringList* Skin3rd() const override;
  HBRUSH FaceBrush() const override;
  TSkinControl* QuerySkinControl(TWinControl* parent, TControl* control,
                                 const std::wstring& upperClassName) override;
  HWND FrameWindow() const override { return FWindow; }
  TCustomForm* FrameForm() const override { return FForm; }
  TCanvas* Canvas(int index) override { return index == 0 ? &FCanvas0 : &FCanvas1; }
  bool IsListed(HWND window) const override;
  bool IsListed(const TSkinControl* object) const override;
  void AddSkinnedControl(TSkinControl* object) override;
  void RemoveSkinnedControl(TSkinControl* object) override;
  void SetHoveredControl(TSkinControl* object) override;
  TSkinControl* HoveredControl() const override { return FHoveredControl; }

  // --- TCaptionFrame
  HWND CaptionWindow() const override { return FWindow; }
  TCaptionFacts CaptionFacts() const override;
  TCaptionMetrics CaptionMetrics() const override;
  TMenuSkin CaptionMenuSkin() const override;
  bool MenuBarOpen() const override { return FMenuOpen; }
  void StopHoverTimer() override;
  void ShowStateChanging(TShowState next) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  class TFrameSubclass;
  friend class TFrameSubclass;

  void CommonAttach(TSkinData* skin);
  LRESULT FrameProc(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam);
  bool Stage2(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool Stage3(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void FormHook(TMessage& m);
  void FinishAttach();
  void FinishAttachBeforeAnswering();
  void ApplyFrameKeepingClient();
  void FrameChanged();
  // Resizes the window keeping its centre (frame changed).
  void ResizeKeepingCentre(int width, int height);
  void SetCaptionStyle(bool on);
  void ReadShowState();
  void ReleaseSkinnedControls();
  void RestoreForm();
  void PaintCaptionBand(HDC dc, int width, int height);
  void DrawTitle(HDC band, int width);
  void HoverTick(TObject* sender);
  bool IsMDIChild() const { return FMDIRole == 2; }
  bool Unsubclassed() const;
  // Caption-button calls (no-ops while the caption buttons are not built in).
  void FreeButtons();
  void ClearHotObject();
  int LayoutButtons();
  bool ButtonsHandle(TMessage& m);
  // Menu-bar calls (no-ops while the menu bar is not built in).
  void CreateMenuBar();
  void FreeMenuBar(bool giveMenuBack);
  bool MenuBarHandle(TMessage& m);
  void MenuChanged(TMessage& m);

  TSkinManage* FManager;
  HWND FWindow;
  HINSTANCE FModule;
  std::wstring FClassName;
  TSkinData* FSkin = nullptr;
  TCustomForm* FForm = nullptr;
  std::unique_ptr<TFrameSubclass> FSubclass;
  TWindowHook FFormHook;
  TTimer* FHoverTimer = nullptr;
  TCaptionButtons* FButtons = nullptr;  // owned
  TWinSkinMenu* FMenuBar = nullptr;      // owned
  bool FMenuOpen = false;
  // How much the client grew when the menu bar took the native menu off.
  int FNativeMenuHeight = 0;
  TCanvas FCanvas0, FCanvas1;
  std::vector<TSkinControl*> FSkinnedControls;
  TSkinControl* FHoveredControl = nullptr;

  TFrameSizes FSizes;
  SIZE FSavedClientSize{};
  SIZE FNativeFrame{};
  bool FNativeFrameKnown = false;
  // Where the window was before the frame first resized it, and where the
  // frame put it last (a window not moved since goes back exactly).
  POINT FOriginalPos{};
  POINT FPlacedPos{};
  bool FPlaced = false;
  bool FCommonAttachDone = false;  // subclassed and styled; WM_SKINFORM may be due
  LONG FSavedStyle = 0;
  TColor FSavedColour = 0;
  bool FColourSaved = false;
  TChildTextColours FFormText;  // the form's labels: the skin's text colour
  HRGN FRegion = nullptr;
  int FRegionWidth = -1, FRegionHeight = -1;
  int FLifeState = kFrameCreated;
  bool FSkinMessageSeen = false;
  bool FFrameSkinned = false;
  bool FActive = false;
  bool FDialog = false;
  bool FChild = false;
  bool FSizeable = false;
  bool FUnicode = true;
  uint8_t FMDIRole = 0;
  TBorderKind FBorderKind = TBorderKind::Sizeable;
  TShowState FShowState = TShowState::Normal;
  uint8_t FCapabilities = 0;
  HICON FIcon = nullptr;
  std::wstring FWindowText;
};
