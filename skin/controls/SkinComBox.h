// Skinned combo box (Windows).
//
// Classes in this file:
//   TSkinComBox  keeps the box's native text, selection and list and redraws
//                its border and drop button from the skin (ComboButton,
//                SunkEdge, ExtraImages; frames 1 normal, 2 pressed,
//                3 disabled, 4 hot or focused). The button lights while the
//                mouse is over it; a press on the box shows it pressed until
//                the button goes up or the list closes. The edit of an
//                editable box is hooked so its presses and focus changes
//                repaint the box. The child list of a simple library box
//                gets skinned scroll bars. Serves library combo boxes
//                (AttachControl) and those of dialogs without a library
//                form (AttachWindow).
//
// Without a ComboButton image the native box paints itself.
#pragma once

#include "gui/Subclass.h"
#include "skin/controls/WinSubClass.h"
#include "skin/data/Image.h"

class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
  TW_DECLARE_CLASS(TSkinComBox, TSkinControl)
 public:
  explicit TSkinComBox(TComponent* owner);
  ~TSkinComBox() override;

  void AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) override;
  void AttachWindow(HWND window, TSkinFrameLink* form, TCanvas* canvas) override;
  void Unskin() override;

  // --- attributes
  // The list is open (drop-down notification seen, close-up not yet).
  bool Dropped() const { return FDropped; }
  // Where the drop button was last drawn (window coordinates).
  const ImgRect& ButtonRect() const { return FButtonRect; }
  // The hooked edit of an editable box, or null.
  HWND EditWindow() const { return FEditWindow; }
  // The skin of a simple box's list scroll bars, or null.
  TSkinScrollbarH* ListScrollBars() const { return FListScroll; }

 protected:
  void AfterMessage(TMessage& m) override;
  void DrawSkin(HDC dc, const RECT& r) override;
  // Forgets the list's scroll-bar skin when it goes first.
  void Notification(TComponent* component, TOperation operation) override;

 private:
  // The edit inside an editable box: presses and focus repaint the box.
  class TEditHook : public TSubclass {
   public:
    explicit TEditHook(TSkinComBox& owner) : FOwner(owner) {}

   protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

   private:
    TSkinComBox& FOwner;
  };

  bool CanPaint() const;
  void AfterAttach();
  void ReadStyle();
  void SetMouseBits(uint8_t bits, bool on);
  void TrackLeave();

  LONG FStyle = 0;
  LONG FExStyle = 0;
  HWND FListWindow = nullptr;
  HWND FEditWindow = nullptr;
  bool FDropped = false;
  TSkinScrollbarH* FListScroll = nullptr;  // owned
  ImgRect FButtonRect{};
  TEditHook FEditHook{*this};
};
