#include "skin/data/SkinData.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/Forms.h"
#include "gui/ImgList.h"
#include "gui/Strings.h"
#include "skin/data/ImgUtilWin.h"
#include "skin/data/SkinModel.h"
#include "skin/data/SkinRead.h"
#include "skin/data/WinSkinIni.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"

const TEnumInfo kSkinControlTypeInfo{
    L"TSkinControlType",
    {L"xcMainMenu", L"xcPopupMenu", L"xcMenuItem", L"xcToolbar", L"xcControlbar", L"xcCombo", L"xcCheckBox",
     L"xcRadioButton", L"xcProgress", L"xcScrollbar", L"xcEdit", L"xcButton", L"xcBitBtn", L"xcSpeedButton",
     L"xcSpin", L"xcPanel", L"xcGroupBox", L"xcStatusBar", L"xcTab", L"xcTrackBar", L"xcSystemMenu",
     L"xcFastReport"}};
const TEnumInfo kSkinOptionInfo{L"TSkinOption",
                                {L"xoMDIScrollbar", L"xoMenuMerge", L"xoTransparent", L"xoPreview",
                                 L"xoParentBackGround", L"xoNoFocusRect", L"xoToolbarBK", L"xoMDIChildBorder",
                                 L"xoMenuBG", L"xoFormScrollbar"}};
const TEnumInfo kSkinFormTypeInfo{L"TSkinFormType", {L"sfMainform", L"sfOnlyThisForm", L"sfDialog", L"sfDLL"}};

namespace {

// The classes that other skinning engines' controls map to; 117 rows,
// duplicates included, in their fixed order.
const wchar_t* const kDefaultSkin3rd[] = {
    L"TCategoryButtons=scrollbar", L"TPngBitBtn=pngbitbtn", L"TVirtualStringTree=scrollbar",
    L"TVirtualDrawTree=scrollbar", L"TTBXDockablePanel=Panel", L"TAdvPanelGroup=scrollbar",
    L"TComboboxex=combobox", L"TRxSpeedButton=speedbutton", L"THTMLViewer=scrollbar", L"TDBCtrlGrid=scrollbar",
    L"TfrSpeedButton=speedbutton", L"TfrTBButton=speedbutton", L"TControlBar=Panel", L"TTBDock=Panel",
    L"TTBToolbar=Panel", L"TImageEnMView=scrollbar", L"TImageEnView=scrollbar", L"TAdvMemo=scrollbar",
    L"TDBAdvMemo=scrollbar", L"TcxDBLookupComboBox=combobox", L"TcxDBComboBox=combobox",
    L"TcxDBDateEdit=combobox", L"TcxDBImageComboBox=combobox", L"TcxDBCalcEdit=combobox",
    L"TcxDBBlobEdit=combobox", L"TcxDBPopupEdit=combobox", L"TcxDBFontNameComboBox=combobox",
    L"TcxDBShellComboBox=combobox", L"TRxLookupEdit=combobox", L"TRxDBLookupCombo=combobox", L"TRzGroup=panel",
    L"TRzButton=button", L"TRzBitbtn=bitbtn", L"TRzMenuButton=menubtn", L"TRzCheckGroup=CheckGroup",
    L"TRzRadioGroup=Radiogroup", L"TRzButtonEdit=Edit", L"TRzDBRadioGroup=Radiogroup",
    L"TRzDBRadioButton=Radiobutton", L"TRzDateTimeEdit=combobox", L"TRzColorEdit=combobox",
    L"TRzDateTimePicker=combobox", L"TRzDBDateTimeEdit=combobox", L"TRzDbColorEdit=combobox",
    L"TRzDBDateTimePicker=combobox", L"TLMDButton=bitbtn", L"TLMDGroupBox=Groupbox", L"TDBCheckboxEh=Checkbox",
    L"TDBCheckboxEh=Checkbox", L"TLMDCHECKBOX=Checkbox", L"TLMDDBCHECKBOX=Checkbox",
    L"TLMDRadiobutton=Radiobutton", L"TLMDCalculator=panel", L"TLMDGROUPBOX=Panel", L"TLMDSIMPLEPANEL=Panel",
    L"TLMDDBCalendar=Panel", L"TLMDButtonPanel=Panel", L"TLMDLMDCalculator=Panel", L"TLMDHeaderPanel=Panel",
    L"TLMDTechnicalLine=Panel", L"TLMDLMDClock=Panel", L"TLMDTrackbar=panel", L"TLMDListCombobox=combobox",
    L"TLMDCheckListCombobox=combobox", L"TLMDHeaderListCombobox=combobox", L"TLMDImageCombobox=combobox",
    L"TLMDColorCombobox=combobox", L"TLMDFontCombobox=combobox", L"TLMDFontSizeCombobox=combobox",
    L"TLMDFontSizeCombobox=combobox", L"TLMDPrinterCombobox=combobox", L"TLMDDriveCombobox=combobox",
    L"TLMDCalculatorComboBox=combobox", L"TLMDTrackBarComboBox=combobox", L"TLMDCalendarComboBox=combobox",
    L"TLMDTreeComboBox=combobox", L"TLMDRADIOGROUP=radiogroup", L"TLMDCheckGroup=CheckGroup",
    L"TLMDDBRADIOGROUP=radiogroup", L"TLMDDBCheckGroup=CheckGroup", L"TLMDCalculatorEdit=edit",
    L"TLMDEDIT=Edit", L"TLMDMASKEDIT=Edit", L"TLMDBROWSEEDIT=Edit", L"TLMDEXTSPINEDIT=Edit",
    L"TLMDCALENDAREDIT=Edit", L"TLMDFILEOPENEDIT=Edit", L"TLMDFILESAVEEDIT=Edit", L"TLMDCOLOREDIT=Edit",
    L"TLMDDBEDIT=Edit", L"TLMDDBMASKEDIT=Edit", L"TLMDDBEXTSPINEDIT=Edit", L"TLMDDBSPINEDIT=Edit",
    L"TLMDDBEDITDBLookup=Edit", L"TLMDEDITDBLookup=Edit", L"TDBLookupCombobox=Combobox",
    L"TWWDBCombobox=Combobox", L"TWWDBLookupCombo=Combobox", L"TWWDBCombobox=Combobox", L"TWWKeyCombo=Combobox",
    L"TWWTempKeyCombo=combobox", L"TWWDBDateTimePicker=Combobox", L"TWWRADIOGROUP=radiogroup",
    L"TWWDBEDIT=Edit", L"TcxButton=bitbtn", L"TcxDBRadioGroup=radiogroup", L"TcxRadioGroup=radiogroup",
    L"TcxGroupbox=groupbox", L"TOVCPICTUREFIELD=Edit", L"TOVCDBPICTUREFIELD=Edit", L"TOVCSLIDEREDIT=Edit",
    L"TOVCDBSLIDEREDIT=Edit", L"TOVCSIMPLEFIELD=Edit", L"TOVCDBSIMPLEFIELD=Edit", L"TO32DBFLEXEDIT=Edit",
    L"TOVCNUMERICFIELD=Edit", L"TOVCDBNUMERICFIELD=Edit"};

// A bitmap resource of the program as an Image (empty when it has none).
Image ResourceImage(const wchar_t* name) {
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return Image();
  Image img = ImageFromBitmap(bitmap);
  DeleteObject(bitmap);
  return img;
}

}  // namespace

TW_IMPLEMENT_CLASS(TSkinData, [](TClassBuilder<TSkinData>& c) {
  c.Bool(L"Active", &TSkinData::Active, &TSkinData::SetActive);
  c.Field(L"DisableTag", &TSkinData::FDisableTag);
  c.Field(L"SkinControls", &TSkinData::FSkinControls, &kSkinControlTypeInfo, true);
  c.Field(L"Options", &TSkinData::FOptions, &kSkinOptionInfo, true);
  c.Sub(L"Skin3rd", TPropKind::StringList, &TSkinData::Skin3rd);
  c.Str(L"SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile);
  c.Str(L"SkinStore", &TSkinData::SkinStoreText, &TSkinData::SetSkinStoreText);
  c.Field(L"SkinFormtype", &TSkinData::FSkinFormtype, &kSkinFormTypeInfo);
  c.Str(L"Version", &TSkinData::Version, &TSkinData::SetVersion);
  c.Field(L"MenuUpdate", &TSkinData::FMenuUpdate);
  c.Field(L"MenuMerge", &TSkinData::FMenuMerge);
  c.Event(L"OnFormSkin", &TSkinData::OnFormSkin);
  c.Event(L"OnSkinChanged", &TSkinData::OnSkinChanged);
  c.Event(L"OnSkinControl", &TSkinData::OnSkinControl);
  c.Event(L"OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm);
  c.Event(L"OnAfterSkinForm", &TSkinData::OnAfterSkinForm);
  c.Binary(L"SkinStream", &TSkinData::ReadSkinStream, &TSkinData::WriteSkinStream);
})

TSkinData::TSkinData(TComponent* owner)
    : TComponent(owner), FSkin3rd(new TStringList()), FModel(std::make_unique<TSkinModel>()) {
  for (const wchar_t* row : kDefaultSkin3rd) FSkin3rd->Add(row);
  FMenuImages = new TImageList(nullptr);
  FMenuImages->LoadFromResource(L"MOTLEYMENU", static_cast<TColor>(0xFFFFFF));
  FMaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  FMaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
  StartupDrawingUtilities();
}

TSkinData::~TSkinData() {
  delete FMenuImages;
  FMenuImages = nullptr;
  delete FSkin3rd;
  FSkin3rd = nullptr;
  if (TSkinManage* m = SkinManager()) m->RemoveSkin(this);
  if (FFaceBrush) DeleteObject(FFaceBrush);
  ShutdownDrawingUtilities();
}

void TSkinData::SetSkin3rd(const TStringList* list) {
  if (list) FSkin3rd->Assign(list);
}

std::wstring TSkinData::Skin3rdKind(const std::wstring& className) const {
  const std::wstring key = LowerCase(className) + L"=";
  for (int i = 0; i < FSkin3rd->Count(); ++i) {
    const std::wstring line = LowerCase(FSkin3rd->Get(i));
    if (line.compare(0, key.size(), key) == 0) return line.substr(key.size(), 50);
  }
  return L"";
}

// ---------------------------------------------------------------------------
// Loading

bool TSkinData::LoadFromStore(TSkinStore* store, int index) {
  if (!store || index < 0 || index >= store->Store()->Count()) return false;
  const std::vector<uint8_t>* package = store->Package(index);
  FSkinEmpty = true;
  FPackage = package ? *package : std::vector<uint8_t>();
  const bool built = LoadSkin();
  SkinChanged();
  return built;
}

bool TSkinData::LoadFromBytes(const std::vector<uint8_t>& package) {
  FSkinEmpty = true;
  FPackage = package;
  const bool built = LoadSkin();
  SkinChanged();
  return built;
}

void TSkinData::SetSkinFile(const std::wstring& name) {
  FSkinEmpty = true;
  FSkinFile = name;
  if (name.empty()) return;
  std::ifstream in(std::filesystem::path(name), std::ios::binary);
  if (!in) return;  // a missing file is ignored
  // No skin package comes near this size: a bigger file is not read on (the
  // read itself stops, so a file that grows meanwhile is bounded too), and
  // the package and model held stay as they were.
  constexpr std::size_t kMaxPackageBytes = 64u << 20;
  std::vector<uint8_t> bytes;
  std::vector<char> chunk(1 << 16);
  while (in.read(chunk.data(), std::streamsize(chunk.size())), in.gcount() > 0) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    if (bytes.size() > kMaxPackageBytes) {
      FLoadError = L"The skin file is too large to be a skin package.";
      return;
    }
  }
  FPackage = std::move(bytes);
  LoadSkin();
  SkinChanged();
}

void TSkinData::ReadSkinStream(const std::vector<uint8_t>& bytes) {
  FPackage.clear();
  if (bytes.size() < 4) return;
  int32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  // A length beyond the stored bytes is a damaged description: keep nothing.
  if (length <= 0 || static_cast<size_t>(length) > bytes.size() - 4) return;
  FPackage.assign(bytes.begin() + 4, bytes.begin() + 4 + length);
  LoadSkin();
}

std::vector<uint8_t> TSkinData::WriteSkinStream() {
  std::vector<uint8_t> out(4);
  const int32_t length = static_cast<int32_t>(FPackage.size());
  std::memcpy(out.data(), &length, 4);
  out.insert(out.end(), FPackage.begin(), FPackage.end());
  return out;
}

bool TSkinData::LoadSkin() {
  FSkinEmpty = true;
  FLoadError.clear();
  try {
    TSkinReader reader;
    if (FPackage.empty() || !reader.Open(FPackage)) {
      FLoadError = L"The skin package cannot be opened.";
      return false;
    }
    std::vector<uint8_t> settingsBytes;
    std::string found;
    reader.ExtractFirstMatch(".ini", settingsBytes, found);
    TQuickIni ini;
    ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(settingsBytes.data()), settingsBytes.size()));
    TSkinEnvironment env;
    env.HScrollArrowWidth = GetSystemMetrics(SM_CXHSCROLL);
    env.Track = ResourceImage(L"TRACK");
    env.TrackVert = ResourceImage(L"TRACKVERT");
    // Built aside, so a failure leaves the model as it was.
    TSkinModel next;
    next.Build(reader, ini, env);
    *FModel = std::move(next);
  } catch (...) {
    FLoadError = L"The skin could not be built: " + ExceptionText(std::current_exception());
    return false;
  }
  RebuildFaceBrush();
  FSkinEmpty = false;
  return true;
}

void TSkinData::RebuildFaceBrush() {
  if (FFaceBrush) DeleteObject(FFaceBrush);
  FFaceBrush = CreateSolidBrush(static_cast<COLORREF>(ResolveColour(FModel->ButtonFaceColour)));
}

void TSkinData::SkinChanged() {
  if (Loading()) return;
  TSkinManage* manager = SkinManager();
  if (!manager) {
    Loaded();
    manager = SkinManager();
  }
  manager->SetPendingSkin(this);
  manager->ApplySkinChange();
  if (manager->State() == kManagerInUse) manager->RequestAction(kActionRefresh, 250);
}

// ---------------------------------------------------------------------------
// Activation

void TSkinData::Loaded() {
  TComponent::Loaded();
  TSkinManage& manager = CreateSkinManager();
  manager.AddSkin(this);
  BuildCaptionFont();
  if (FSkinFormtype != sfMainform) {
    manager.SetActive(true);
    manager.SetState(manager.State() + 1);
    if (auto* form = dynamic_cast<TWinControl*>(Owner()); form && FActive && form->HandleAllocated())
      manager.SkinWindow(form->Handle());
    return;
  }
  manager.InstallHook();
  if (FActive) {
    if (FSkinEmpty)
      FActive = false;
    else
      manager.RequestAction(kActionSkin, 250);
  }
  if (HasControl(xcMainMenu))
    FSkinControls &= ~(1u << xcMenuItem);
  else
    FSkinControls &= ~(1u << xcSystemMenu);
  BuildAppIcon();
}

void TSkinData::SetActive(bool value) {
  if (value == FActive) return;
  FActive = value;
  if (Loading()) return;
  TSkinManage* manager = SkinManager();
  if (!manager) return;  // not loaded yet: Loaded acts on the stored value
  if (FSkinFormtype == sfMainform) {
    if (value) {
      if (FSkinEmpty) return;
      manager->SetPendingSkin(this);
      manager->RequestAction(kActionSkin, 250);
      manager->SetState(kManagerInUse);
    } else {
      manager->SetPendingSkin(this);
      manager->RequestAction(kActionUnskin, 250);
    }
  } else if (FSkinFormtype == sfOnlyThisForm) {
    manager->SetPendingSkin(this);
    if (value && FSkinEmpty) return;
    manager->RequestAction(value ? kActionSkin : kActionUnskin, 250);
  }
}

void TSkinData::QueryFormSkin(TControl* control, const std::wstring& className, bool& DoSkin) {
  FQueriedControl = control;
  if (OnFormSkin.Assigned()) {
    OnFormSkin(this, className, DoSkin);
    return;
  }
  if (className == L"SysMonthCal32")
    DoSkin = false;
  else if (HasControl(xcFastReport) && className.compare(0, 3, L"Tfr") == 0)
    DoSkin = false;
}

void TSkinData::ActionFinished() { OnSkinChanged(this); }

void TSkinData::BuildCaptionFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
  const LOGFONTW& lf = metrics.lfCaptionFont;
  FCaptionFont.SetName(lf.lfFaceName);
  FCaptionFont.SetHeight(lf.lfHeight);
  FCaptionFont.SetCharset(lf.lfCharSet);
  FCaptionFont.SetStyle(lf.lfWeight >= FW_BOLD ? (1 << fsBold) : 0);
}

void TSkinData::BuildAppIcon() {
  const int size = GetSystemMetrics(SM_CXSMICON);
  Image icon(size, size, kMagenta);
  // The application window's small icon, else its big one, else its class's.
  HWND app = Application ? Application->Handle() : nullptr;
  HICON handle = nullptr;
  if (app) {
    handle = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0));
    if (!handle) handle = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
    if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICONSM));
    if (!handle) handle = reinterpret_cast<HICON>(GetClassLongPtrW(app, GCLP_HICON));
  }
  if (handle) {
    DibSurface surface;
    if (surface.Assign(icon)) {
      DrawIconEx(surface.DC(), 0, 0, handle, size, size, 0, nullptr, DI_NORMAL);
      GdiFlush();
      icon = surface.ToImage();
    }
  }
  icon.SetBitCount(24);
  FAppIcon = icon;
}
