// Stand-in for the skin definition component until the skin engine lands:
// the smallest component that reads its stored settings from the form
// description, takes a package out of the store and keeps its Active switch.
// It paints nothing. Drop this pair when the real TSkinData is in the build.
//
// Classes in this file:
//   TSkinData - stored settings, LoadFromStore, Active
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/Classes.h"
#include "gui/Core.h"

class TSkinStore;

enum TSkinFormType { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

class TSkinData : public TComponent {
  TW_DECLARE_CLASS(TSkinData, TComponent)
 public:
  explicit TSkinData(TComponent* owner);
  ~TSkinData() override;

  // Copies package `index` of `store`; false when the store has no such item
  // or the item is empty.
  bool LoadFromStore(TSkinStore* store, int index);

  bool Active() const { return FActive; }
  void SetActive(bool active) { FActive = active; }
  const std::vector<uint8_t>& Package() const { return FPackage; }
  TStringList* Skin3rd() const { return FSkin3rd; }
  std::wstring Version() const { return L"4.11.07.25"; }
  void SetVersion(const std::wstring&) {}
  std::wstring SkinStoreText() const { return L"(none)"; }
  void SetSkinStoreText(const std::wstring&) {}

  void ReadSkinStream(const std::vector<uint8_t>& bytes);
  std::vector<uint8_t> WriteSkinStream();

  // Stored settings
  bool FActive = false;
  int FDisableTag = 99;
  int FSkinControls = 0x1FFFFB;  // every kind but xcMenuItem and xcFastReport
  int FOptions = 72;             // xoPreview, xoToolbarBK
  std::wstring FSkinFile;
  TSkinFormType FSkinFormtype = sfMainform;
  bool FMenuUpdate = true;
  bool FMenuMerge = false;

 private:
  TStringList* FSkin3rd;
  std::vector<uint8_t> FPackage;
};
