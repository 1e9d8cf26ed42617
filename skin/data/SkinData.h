// The skin definition component: one skin package, the skin model built
// from it, the switches that tell window and control skinning what to do,
// and the Active switch that turns skinning on and off through the manager.
//
// Classes in this file:
//   TSkinFormType   the form types (the switch enumerations: SkinSwitches.h)
//   TSkinData       the component
//
// All actions towards windows are carried out by the skin manager on its
// timer (skin/window/SkinManage.h), never inside SetActive or a load.
// A package that cannot be opened or built leaves SkinEmpty set: nothing is
// skinned with it and the program keeps its plain look.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/Classes.h"
#include "gui/Controls.h"
#include "gui/Core.h"
#include "gui/Graphics.h"
#include "skin/controls/SkinSwitches.h"
#include "skin/data/Image.h"

class TSkinModel;
class TSkinStore;
class TImageList;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

extern const TEnumInfo kSkinControlTypeInfo;
extern const TEnumInfo kSkinOptionInfo;
extern const TEnumInfo kSkinFormTypeInfo;

class TSkinData;
using TOnFormSkin = TDelegate<void(TObject* Sender, const std::wstring& aName, bool& DoSkin)>;
using TOnSkinControl =
    TDelegate<void(TComponent* Sender, TSkinData* SkinData, TControl* Form, TControl* Control,
                   const std::wstring& ControlClass, TComponent*& SkinnedControl)>;
using TOnSkinForm = TDelegate<void(TObject* Sender, HWND ahwnd, const std::wstring& aName)>;

class TSkinData : public TComponent {
  TW_DECLARE_CLASS(TSkinData, TComponent)
 public:
  // --- construction
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // --- published settings
  bool Active() const { return FActive; }
  // Switching on or off is carried out by the manager about 250 ms later.
  void SetActive(bool value);
  int DisableTag() const { return FDisableTag; }
  void SetDisableTag(int tag) { FDisableTag = tag; }
  uint32_t SkinControls() const { return FSkinControls; }
  void SetSkinControls(uint32_t set) { FSkinControls = set; }
  bool HasControl(TSkinControlType kind) const { return HasSwitch(FSkinControls, kind); }
  uint32_t Options() const { return FOptions; }
  void SetOptions(uint32_t set) { FOptions = set & 0xFFFFu; }
  bool HasOption(TSkinOption option) const { return HasSwitch(FOptions, option); }
  TStringList* Skin3rd() const { return FSkin3rd; }
  // Takes the given list's lines.
  void SetSkin3rd(const TStringList* list);
  const std::wstring& SkinFile() const { return FSkinFile; }
  // Loads the named file when it exists (a missing file is ignored); a file
  // over 64 MiB is refused with a LoadError, keeping the package held.
  void SetSkinFile(const std::wstring& name);
  TSkinFormType SkinFormtype() const { return FSkinFormtype; }
  void SetSkinFormtype(TSkinFormType t) { FSkinFormtype = t; }
  bool MenuUpdate() const { return FMenuUpdate; }
  void SetMenuUpdate(bool v) { FMenuUpdate = v; }
  bool MenuMerge() const { return FMenuMerge; }
  void SetMenuMerge(bool v) { FMenuMerge = v; }
  // "(none)" while the program runs; writes are ignored.
  std::wstring SkinStoreText() const { return L"(none)"; }
  void SetSkinStoreText(const std::wstring&) {}
  std::wstring Version() const { return L"4.11.07.25"; }
  void SetVersion(const std::wstring&) {}

  TOnFormSkin OnFormSkin;
  TNotifyEvent OnSkinChanged;
  TOnSkinControl OnSkinControl;
  TOnSkinForm OnBeforeSkinForm;
  TOnSkinForm OnAfterSkinForm;

  // --- the loaded skin (read by the painters)
  // True at creation, during a load and after a failed one.
  bool SkinEmpty() const { return FSkinEmpty; }
  const TSkinModel& Model() const { return *FModel; }
  // Solid brush of the model's ButtonFaceColour (rebuilt after each build).
  HBRUSH FaceBrush() const { return FFaceBrush; }
  // The system caption font (built at Loaded); the library default before.
  TFont* CaptionFont() { return &FCaptionFont; }
  // The program's small icon at small-icon size, magenta where it is
  // transparent; empty until Loaded.
  const Image& AppIcon() const { return FAppIcon; }
  void SetAppIcon(const Image& icon) { FAppIcon = icon; }
  // 16 x 16 glyphs restore, maximize, minimize, close (white is the mask);
  // empty when the program carries no such bitmap.
  TImageList* MenuImages() const { return FMenuImages; }
  int MaxWidth() const { return FMaxWidth; }
  int MaxHeight() const { return FMaxHeight; }
  // The frame paints its non-client area only while this is set.
  bool FramePaintEnabled() const { return FFramePaintEnabled; }
  void SetFramePaintEnabled(bool v) { FFramePaintEnabled = v; }
  // The package bytes held (as stored).
  const std::vector<uint8_t>& Package() const { return FPackage; }
  // Text of the last load failure ("" after a successful build).
  const std::wstring& LoadError() const { return FLoadError; }

  // The kind Skin3rd names for a class ("" when no line applies): the first
  // line whose lower-case text begins with lower(className) + "=", lower
  // case, at most 50 characters.
  std::wstring Skin3rdKind(const std::wstring& className) const;

  // --- operations
  // Loads package `index` (0-based) of the store; an index beyond the last
  // item is ignored. Answers whether a skin was built.
  bool LoadFromStore(TSkinStore* store, int index);
  // Loads package bytes as stored (tests and tools); answers whether a skin
  // was built.
  bool LoadFromBytes(const std::vector<uint8_t>& package);
  // Builds the model from the held bytes. False when the package cannot be
  // opened or built; the model is then unchanged and SkinEmpty stays set.
  bool LoadSkin();
  // After a new package: the manager drops caption buttons and refreshes.
  void SkinChanged();
  // Asked by the manager whether a window class is to be skinned.
  void QueryFormSkin(TControl* control, const std::wstring& className, bool& DoSkin);
  // Called by the manager after it carried out a requested action.
  void ActionFinished();
  // The control of the current OnFormSkin query.
  TControl* QueriedControl() const { return FQueriedControl; }

  void Loaded() override;

  // Stored SkinStream property: 32-bit length, then the bytes.
  void ReadSkinStream(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> WriteSkinStream();

  // Published fields (the class table binds them).
  bool FActive = false;
  int FDisableTag = 99;
  uint32_t FSkinControls = kDefaultSkinControls;
  uint32_t FOptions = kDefaultSkinOptions;
  std::wstring FSkinFile;
  TSkinFormType FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;

 private:
  void BuildAppIcon();
  void BuildCaptionFont();
  void RebuildFaceBrush();

  TStringList* FSkin3rd = nullptr;
  std::vector<uint8_t> FPackage;
  bool FSkinEmpty = true;
  std::unique_ptr<TSkinModel> FModel;
  HBRUSH FFaceBrush = nullptr;
  TFont FCaptionFont;
  Image FAppIcon;
  TImageList* FMenuImages = nullptr;
  int FMaxWidth = 0, FMaxHeight = 0;
  bool FFramePaintEnabled = true;
  TControl* FQueriedControl = nullptr;
  std::wstring FLoadError;
};
