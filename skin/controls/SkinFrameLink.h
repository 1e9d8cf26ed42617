// What a skinned control and the child-control dispatch see of the skinned
// frame they belong to (Windows).
//
// Classes in this file:
//   TSkinFrameLink   the narrow interface: the skin in use (model, switches,
//                    options, DisableTag, Skin3rd, face brush, the
//                    OnSkinControl event), the frame's window and form, its
//                    drawing canvases, the list of skinned controls and hover
//                    tracking. The skinned frame (TWinSkinForm) implements it;
//                    tests implement it with a fixed skin model.
//
// Ownership: the frame owns its list of skinned controls. A control object
// owned by a library control may die first (with its control); its destructor
// then calls RemoveSkinnedControl. The frame releases its list by taking the
// first entry, calling Unskin unless its LifeState() is 6, removing it and
// freeing it (TComponent::Free); RemoveSkinnedControl must therefore accept an
// object that is no longer listed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/controls/SkinSwitches.h"

class TCanvas;
class TControl;
class TCustomForm;
class TSkinControl;
class TSkinModel;
class TStringList;
class TWinControl;

class TSkinFrameLink {
public:
  virtual ~TSkinFrameLink() = default;

  // --- the skin in use (may change on a skin change; read it at each use)
  // The skin model, or nullptr while the skin holds no built model.
  virtual const TSkinModel* SkinModel() const = 0;
  // The SkinControls set (bit n for TSkinControlType n) and the Options set
  // (bit n for TSkinOption n).
  virtual uint32_t SkinControls() const = 0;
  virtual uint32_t SkinOptions() const = 0;
  // The Tag value that keeps a control unskinned.
  virtual int DisableTag() const = 0;
  // Lines "ClassName=kind" (nullptr: none).
  virtual const TStringList* Skin3rd() const = 0;
  // Solid brush of the skin's ButtonFaceColour, owned by the skin definition.
  virtual HBRUSH FaceBrush() const = 0;
  // Fires the skin definition's OnSkinControl event (Sender = the frame,
  // SkinData = the skin) for `control` on `parent`, with the upper-case class
  // name; returns the skin object the handler created (nullptr when the event
  // is not assigned or the handler created none). The dispatch attaches it.
  virtual TSkinControl* QuerySkinControl(TWinControl* parent, TControl* control,
                                         const std::wstring& upperClassName) = 0;

  // --- the frame
  // The skinned top-level window (target of WM_SKINREATTACH and
  // WM_SKINTABCLOSE).
  virtual HWND FrameWindow() const = 0;
  // The library form of the frame, or nullptr for a bare window.
  virtual TCustomForm* FrameForm() const = 0;
  // The frame's drawing canvases handed to skinned controls (index 0 or 1).
  virtual TCanvas* Canvas(int index) = 0;
  // Prepares the form's popup menus for skinned drawing (with xcPopupMenu).
  virtual void PreparePopupMenus(TCustomForm* form) {}

  // --- SkinnedControls
  // Whether a skin object for `window` (or this object) is listed.
  virtual bool IsListed(HWND window) const = 0;
  virtual bool IsListed(const TSkinControl* object) const = 0;
  // Adds the object once (a second call does nothing); the frame now frees it.
  virtual void AddSkinnedControl(TSkinControl* object) = 0;
  // Removes the object from the list if it is there; does not free it.
  virtual void RemoveSkinnedControl(TSkinControl* object) = 0;

  // --- hover tracking
  // A skinned control became hot. The frame's hover tick ends its hover
  // (TSkinControl::EndHover) once the cursor has left its window rectangle,
  // and when the window is deactivated; a newly hovered control ends the
  // hover of the previous one.
  virtual void SetHoveredControl(TSkinControl* object) = 0;
  virtual TSkinControl* HoveredControl() const = 0;
};
