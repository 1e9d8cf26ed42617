#include "app/StandInSkinData.h"

#include <cstring>

#include "skin/data/WinSkinStore.h"

namespace {

const TEnumInfo kControlTypes{
    L"TSkinControlType",
    {L"xcMainMenu", L"xcPopupMenu", L"xcMenuItem", L"xcToolbar", L"xcControlbar", L"xcCombo",
     L"xcCheckBox", L"xcRadioButton", L"xcProgress", L"xcScrollbar", L"xcEdit", L"xcButton",
     L"xcBitBtn", L"xcSpeedButton", L"xcSpin", L"xcPanel", L"xcGroupBox", L"xcStatusBar", L"xcTab",
     L"xcTrackBar", L"xcSystemMenu", L"xcFastReport"}};
const TEnumInfo kOptions{L"TSkinOption",
                         {L"xoMDIScrollbar", L"xoMenuMerge", L"xoTransparent", L"xoPreview",
                          L"xoParentBackGround", L"xoNoFocusRect", L"xoToolbarBK", L"xoMDIChildBorder",
                          L"xoMenuBG", L"xoFormScrollbar"}};
const TEnumInfo kFormTypes{L"TSkinFormType", {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"}};

}  // namespace

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), FSkin3rd(new TStringList()) {}

TSkinData::~TSkinData() { delete FSkin3rd; }

bool TSkinData::LoadFromStore(TSkinStore* store, int index) {
  const std::vector<uint8_t>* package = store ? store->Package(index) : nullptr;
  if (!package || package->empty()) return false;
  FPackage = *package;
  return true;
}

// The stored value: a 32-bit length, then that many package bytes.
void TSkinData::ReadSkinStream(const std::vector<uint8_t>& bytes) {
  FPackage.clear();
  if (bytes.size() < 4) return;
  int32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  if (length > 0 && static_cast<size_t>(length) <= bytes.size() - 4)
    FPackage.assign(bytes.begin() + 4, bytes.begin() + 4 + length);
}

std::vector<uint8_t> TSkinData::WriteSkinStream() {
  std::vector<uint8_t> out(4);
  const int32_t length = static_cast<int32_t>(FPackage.size());
  std::memcpy(out.data(), &length, 4);
  out.insert(out.end(), FPackage.begin(), FPackage.end());
  return out;
}

TW_IMPLEMENT_CLASS(TSkinData, [](TClassBuilder<TSkinData>& c) {
  c.Field(L"Active", &TSkinData::FActive);
  c.Field(L"DisableTag", &TSkinData::FDisableTag);
  c.Field(L"SkinControls", &TSkinData::FSkinControls, &kControlTypes, true);
  c.Field(L"Options", &TSkinData::FOptions, &kOptions, true);
  c.Sub(L"Skin3rd", TPropKind::StringList, &TSkinData::Skin3rd);
  c.Field(L"SkinFile", &TSkinData::FSkinFile);
  c.Str(L"SkinStore", &TSkinData::SkinStoreText, &TSkinData::SetSkinStoreText);
  c.Field(L"SkinFormtype", &TSkinData::FSkinFormtype, &kFormTypes);
  c.Str(L"Version", &TSkinData::Version, &TSkinData::SetVersion);
  c.Field(L"MenuUpdate", &TSkinData::FMenuUpdate);
  c.Field(L"MenuMerge", &TSkinData::FMenuMerge);
  c.Binary(L"SkinStream", &TSkinData::ReadSkinStream, &TSkinData::WriteSkinStream);
})
