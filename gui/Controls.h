// Controls (Windows).
//
// Classes and functions in this file:
//   TControl      visual component: bounds, Align, Visible, Enabled, Color, Font,
//                 Caption, BiDiMode, the replaceable WindowProc hook. Without a
//                 window of its own (TLabel) it is painted by its windowed parent.
//   TWinControl   a control with a window, created on demand (parents first) and
//                 created again when a style-changing property changes; reflects
//                 notifications to the child that caused them; docks children.
//   FindControl   the library control of a window, through the control-lookup
//                 window property ("ControlOfs%.8X%.8X": module handle, GUI thread id)
//   PaintControls paints a windowed control's window-less children onto a DC
//
// Mouse: OnMouseDown/OnMouseUp/OnMouseMove on every control. A windowed
// control routes mouse messages to its window-less children, sends them the
// mouse enter/leave notifications, and keeps the mouse captured for the
// child that was pressed until the last button is released.
//
// Lifetime: Free on a control that is inside a message of its own (its
// window's, or one performed on it) frees it once the outermost such message
// has returned; the window procedure never touches a control after that.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "gui/Core.h"
#include "gui/Graphics.h"
#include "gui/Layout.h"
#include "gui/Messages.h"

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
extern const TEnumInfo kAlignInfo;
extern const TEnumInfo kBiDiModeInfo;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Shift state bits (a set: bit n for ordinal n).
enum TShiftStateBit { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = int;
inline constexpr TShiftState ShiftBit(TShiftStateBit b) { return 1 << b; }
extern const TEnumInfo kMouseButtonInfo;
// The shift state of a mouse message's wParam (plus Alt from the keyboard).
TShiftState ShiftStateOfMouse(WPARAM keys, bool doubleClick = false);

using TMouseEvent = TDelegate<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TDelegate<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

// The atom naming the control-lookup property, and its text.
ATOM ControlAtom();
std::wstring ControlAtomName();
// The library control of a window, or nullptr.
TWinControl* FindControl(HWND window);

class TControl : public TComponent {
  TW_DECLARE_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // --- attributes
  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
  virtual RECT ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign a);
  bool Visible() const { return FVisible; }
  void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent visible.
  bool Showing() const;
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool e);
  TColor Color() const { return FColor; }
  void SetColor(TColor c);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool p);
  TFont* Font() { return &FFont; }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool p);
  std::wstring Caption() const { return GetText(); }
  void SetCaption(const std::wstring& t) { SetText(t); }
  std::wstring Text() const { return GetText(); }
  virtual std::wstring GetText() const { return FText; }
  virtual void SetText(const std::wstring& t);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode m);
  bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }

  // The message hook: every message of the control goes through it first.
  // Its default is bound to WndProc; save it, replace it, put it back.
  TWndMethod WindowProc;

  // --- operations
  // Sends a message through WindowProc (the window is not involved).
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void Invalidate();
  virtual void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  // The form the control sits on (walking up the parents), or nullptr.
  TCustomForm* ParentForm() const;
  // The windowed control at the top of the parent chain (the control of the
  // root window when windows exist); the control itself when it has no parent.
  TWinControl* RootControl() const;

  // The library's mouse handling (what the control's mouse messages run);
  // public so that hooks can report positions a message cannot carry.
  void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) { MouseDown(button, shift, x, y); }

  // Number of messages of this control being handled right now (its window's
  // and performed ones, nested).
  int MessageDepth() const { return FMessageDepth; }

  // The context menu shown on a right click (WM_CONTEXTMENU).
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

  // --- overridables
  // The control's own message handling (the default WindowProc).
  virtual void WndProc(TMessage& m);
  // What happens to a message nobody handled: nothing for window-less
  // controls; the window class's procedure for windowed ones.
  virtual void DefaultHandler(TMessage& m);
  // Window-less painting (WM_PAINT with the DC in wParam, origin at the control).
  virtual void Paint(HDC dc) {}
  virtual void Click();
  void Loaded() override;

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // Runs the mouse events for a mouse message of this control; false when
  // it is not one.
  bool DispatchMouse(const TMessage& m);
  // True while this control (or, for windowed ones, any child) is inside a
  // message of its own.
  virtual bool InMessage() const { return FMessageDepth > 0; }
  bool DeferFree() override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void BoundsChanged() {}
  virtual void TextChanged();
  virtual void FontChanged();
  virtual void ColorChanged();
  void RequestAlign();

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clBtnFace;
  bool FParentColor = false;
  TFont FFont;
  bool FParentFont = true;
  std::wstring FText;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FMouseInside = false;
  bool FMouseDown = false;
  int FMessageDepth = 0;
  bool FFreePending = false;
  TPopupMenu* FPopupMenu = nullptr;

 private:
  friend class TWinControl;
  friend LRESULT CALLBACK TwStdWndProc(HWND, UINT, WPARAM, LPARAM);
  friend void FreePendingControls(TControl* finished);
  void ApplyParentFont();
  void ApplyParentColor();
};

struct TCreateParams {
  std::wstring caption;
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0, y = 0, width = 0, height = 0;
  HWND parent = nullptr;
  // System class to build on ("BUTTON", "SysListView32", ...); empty: our own
  // window with DefWindowProc underneath.
  std::wstring systemClass;
  // Class styles of our own windows.
  UINT classStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  TW_DECLARE_CLASS(TWinControl, TControl)
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  // --- window
  // The window, created now (with the parents') if it does not exist yet.
  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and creates it again (style changes); the
  // recreate notification comes first. Nothing when no window exists.
  void RecreateWnd();
  void DestroyHandle();

  // --- children
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
  // Window-less or windowed child under a client point (visible ones only).
  TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;
  // Lays out docked children again.
  void Realign();
  // The rectangle docked children share (client area minus borders, caption...).
  virtual RECT AdjustClientRect() const { return ClientRect(); }
  RECT ClientRect() const override;

  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool t);
  // Windowed children in tab order.
  const std::vector<TWinControl*>& TabList() const { return FTabList; }
  bool Focused() const;
  virtual bool CanFocus() const;
  void SetFocus();

  void SetBounds(int left, int top, int width, int height) override;
  void SetEnabled(bool e) override;
  void Loaded() override;
  std::wstring GetText() const override;
  void SetText(const std::wstring& t) override;
  void Invalidate() override;
  void Update() override;

  // Paints this control's window-less children onto a DC whose origin is
  // this control's client origin.
  void PaintControls(HDC dc, TControl* first = nullptr);

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // --- overridables
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;

 protected:
  virtual void CreateParams(TCreateParams& p);
  virtual void CreateWnd();
  // After the window exists: send it the settings that live in the window.
  virtual void CreateWindowHandle(const TCreateParams& p);
  virtual void InitializeWnd() {}
  // Before the window goes: save what lives only in the window.
  virtual void DestroyWnd() {}
  // Paints the window itself into dc (our own windows paint here; the
  // default lets the window class paint).
  virtual void PaintWindow(HDC dc);
  // Background of our own windows (system classes erase themselves).
  virtual bool EraseBackground(HDC dc);
  // Whether this window is one of ours (no system class underneath).
  bool OwnWindowClass() const { return FOwnClass; }
  // Brush for the reflected WM_CTLCOLOR... of this control.
  virtual LRESULT CtlColor(HDC dc);
  HBRUSH ColorBrush();
  void ColorChanged() override;
  void FontChanged() override;
  void BoundsChanged() override;
  bool InMessage() const override;

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  bool FTabStop = false;
  int FTabOrderWanted = -1;  // TabOrder read from a description, applied once all exist
  bool FOwnClass = false;
  bool FRecreating = false;

 private:
  friend class TControl;
  friend LRESULT CALLBACK TwStdWndProc(HWND, UINT, WPARAM, LPARAM);
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  void UpdateZOrder();
  void ReadBoundsFromWindow();
  bool ReflectToChild(TMessage& m);
  void HandlePaint(TMessage& m);
  void TrackMouse(TMessage& m);
  bool RouteMouse(TMessage& m);
  // The library's handling of Alt+key (CM_DIALOGCHAR): true when this is a
  // button whose caption has that access key (it was clicked).
  bool DialogChar(wchar_t key);
  void SetMouseControl(TControl* c);
  void DestroyChildWnds();

  std::vector<TControl*> FControls;
  TControl* FMouseControl = nullptr;    // window-less child under the mouse
  TControl* FCaptureControl = nullptr;  // window-less child holding the capture
  std::vector<TWinControl*> FTabList;
  HBRUSH FBrush = nullptr;
  bool FAligning = false;
};

// The window procedure of every window the library creates.
LRESULT CALLBACK TwStdWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Frees the controls whose Free waited for their messages and that are no
// longer inside one; `finished` is the control whose message just ended
// (nullptr: the message loop is between messages).
void FreePendingControls(TControl* finished);
