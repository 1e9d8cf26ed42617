#include "app/Main.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "app/WebBrowserControl.h"
#include "app/logic/ConvertPaths.h"
#include "app/logic/ToolOutput.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinStore.h"
#include "skin/window/SkinManage.h"
#include "console/DosCommand.h"

TFrmMain* FrmMain = nullptr;
TDosCommand* DosCommand1 = nullptr;
TDosCommand* DosCommand2 = nullptr;

namespace {

constexpr int kProbePasses = 50;
constexpr DWORD kProbePassMs = 1000;

std::wstring ModuleFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t cut = path.find_last_of(L"\\:");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

std::wstring CurrentFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
  if (n >= path.size()) {
    path.resize(n);
    n = GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data());
  }
  path.resize(n < path.size() ? n : 0);
  return path;
}

bool FolderExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring SystemErrorText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = text ? text : L"";
  if (text) LocalFree(text);
  while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r' || result.back() == L' '))
    result.pop_back();
  return result.empty() ? L"System error " + std::to_wstring(code) : result;
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner) {}

TFrmMain::~TFrmMain() {
  // The runners go first, while the window their workers report to still
  // exists, and the module variables never point at freed runners.
  for (TDosCommand** runner : {&DosCommand1, &DosCommand2}) {
    if (*runner && (*runner)->Owner() == this) {
      delete *runner;
      *runner = nullptr;
    }
  }
  if (FFileList) {
    FreeFileList();
    delete FFileList;
    FFileList = nullptr;
  }
  if (FrmMain == this) FrmMain = nullptr;
}

// ---------------------------------------------------------------------------
// Start-up and close

void TFrmMain::FormCreate(TObject* Sender) {
  DosCommand1 = new TDosCommand(this);
  DosCommand2 = new TDosCommand(this);
  DosCommand1->OnNewLine = MakeDelegate<TNewLineEvent>(this, &TFrmMain::DosCommand1NewLine);
  DosCommand1->OnTerminated = MakeDelegate<TNotifyEvent>(this, &TFrmMain::DosCommand1Terminated);
  DosCommand2->OnTerminated = MakeDelegate<TNotifyEvent>(this, &TFrmMain::DosCommand2Terminated);

  // The banner is decoration: whatever goes wrong with it, the rest of the
  // start-up still runs.
  if (WebBrowser1) WebBrowser1->Navigate(BannerUrl());

  SkinData1->OnSkinChanged = MakeDelegate<TNotifyEvent>(this, &TFrmMain::SkinData1SkinChanged);
  StartSkin();
  FSkinChooser = true;
  AddSkinChooser();
  // The first activation attaches the frame without an action of the
  // manager, so no change is reported for it.
  SkinData1SkinChanged(SkinData1);

  FAppPath = ModuleFolder();
  FFileList = new std::vector<TFileInfo*>();
  // The tools run in the program's folder, whatever the current folder is.
  DosCommand1->SetWorkFolder(FAppPath);
  DosCommand2->SetWorkFolder(FAppPath);
}

// The program's skin: store item 2, switched on. A skin that cannot be
// loaded leaves the plain look and says so; start-up goes on either way.
void TFrmMain::StartSkin() {
  std::wstring problem;
  try {
    if (SkinData1->LoadFromStore(SkinStore1, 2)) {
      FSkinIndex = 2;
      SkinData1->SetActive(true);
    } else
      problem = SkinData1->LoadError();
  } catch (...) {
    problem = ExceptionText(std::current_exception());
  }
  if (!problem.empty())
    Application->ShowMessageBox(L"无法加载皮肤，程序以普通外观运行。\r\n" + problem, Application->Title(),
                                MB_OK | MB_ICONWARNING);
}

// ---------------------------------------------------------------------------
// Skin chooser

void TFrmMain::InitializeWnd() {
  TForm::InitializeWnd();
  // A window made again gets a fresh system menu: the chooser goes back in.
  if (FSkinChooser) AddSkinChooser();
}

void TFrmMain::AddSkinChooser() {
  if (!HandleAllocated() || !SkinStore1) return;
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (!menu) return;
  if (GetMenuState(menu, kSkinCommandFirst, MF_BYCOMMAND) == UINT(-1)) {
    const int count = std::min(SkinStore1->Store()->Count(), kSkinCommandCount);
    if (count == 0) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < count; ++i) {
      const UINT command = kSkinCommandFirst + kSkinCommandStep * UINT(i);
      AppendMenuW(menu, MF_STRING, command, SkinStore1->Store()->Items(i)->Name().c_str());
    }
  }
  CheckShownSkin();
}

void TFrmMain::CheckShownSkin() {
  if (!HandleAllocated() || !SkinStore1) return;
  HMENU menu = GetSystemMenu(Handle(), FALSE);
  if (!menu) return;
  const int count = std::min(SkinStore1->Store()->Count(), kSkinCommandCount);
  for (int i = 0; i < count; ++i)
    CheckMenuItem(menu, kSkinCommandFirst + kSkinCommandStep * UINT(i),
                  MF_BYCOMMAND | (i == FSkinIndex ? MF_CHECKED : MF_UNCHECKED));
}

bool TFrmMain::ChooseSkin(int index) {
  if (FClosing || FChoosingSkin || !SkinData1 || !SkinStore1) return false;
  if (index < 0 || index >= SkinStore1->Store()->Count()) return false;
  if (index == FSkinIndex && SkinData1->Active() && !SkinData1->SkinEmpty()) return true;

  FChoosingSkin = true;
  std::wstring problem;
  bool built = false;
  try {
    built = SkinData1->LoadFromStore(SkinStore1, index);
    if (!built) problem = SkinData1->LoadError();
  } catch (...) {
    problem = ExceptionText(std::current_exception());
  }
  if (built) {
    FSkinIndex = index;
    if (!SkinData1->Active()) SkinData1->SetActive(true);
  } else if (FSkinIndex >= 0) {
    // The failed load left the definition empty: the skin in use goes back
    // in before the manager's refresh comes round.
    try {
      SkinData1->LoadFromStore(SkinStore1, FSkinIndex);
    } catch (...) {
    }
  }
  CheckShownSkin();
  // The frames take the skin on the manager's timer and the banner follows
  // them then (OnSkinChanged); with nothing to wait for it follows now.
  const TSkinManage* manager = SkinManager();
  if (!manager || !manager->ActionPending()) SkinData1SkinChanged(SkinData1);
  FChoosingSkin = false;

  if (!built) {
    const std::wstring name = SkinStore1->Store()->Items(index)->Name();
    Application->ShowMessageBox(L"无法加载皮肤“" + name + L"”，继续使用当前皮肤。\r\n" +
                                    (problem.empty() ? std::wstring(L"The skin package cannot be loaded.") : problem),
                                Application->Title(), MB_OK | MB_ICONWARNING);
  }
  return built;
}

void TFrmMain::SkinData1SkinChanged(TObject* Sender) {
  if (!WebBrowser1) return;
  TBannerLook look = PlainBannerLook();
  if (SkinData1 && SkinData1->Active() && !SkinData1->SkinEmpty()) {
    // The banner continues the skin's caption: its frame colour under the
    // caption text colour, edged like the skin's buttons.
    const TSkinModel& model = SkinData1->Model();
    look.Back = ResolveColour(model.FrameColour);
    look.Text = ResolveColour(model.TitleTextActiveColour);
    look.Face = ResolveColour(model.ButtonFaceColour);
    look.Edge = ResolveColour(model.ButtonShadowColour);
  }
  WebBrowser1->SetLook(look);
}

void TFrmMain::WndProc(TMessage& m) {
  if (m.Msg == WM_SYSCOMMAND) {
    const UINT command = UINT(m.WParam) & 0xFFF0u;
    if (command >= kSkinCommandFirst && command < kSkinCommandFirst + kSkinCommandStep * kSkinCommandCount) {
      ChooseSkin(int((command - kSkinCommandFirst) / kSkinCommandStep));
      m.Result = 0;
      return;
    }
  }
  TForm::WndProc(m);
}

// ---------------------------------------------------------------------------
// Close

void TFrmMain::FormClose(TObject* Sender, TCloseAction& Action) {
  // Closing during a probe or a run: end the child first (its worker calls
  // into this window) and tell the waiting handler to return. A close that
  // arrives while this one waits for a runner waits as well. The list a
  // waiting handler works on stays until the window goes.
  FClosing = true;
  if (DosCommand1) DosCommand1->Stop();
  if (DosCommand2) DosCommand2->Stop();
  if (FFileList && !Busy()) {
    FreeFileList();
    delete FFileList;
    FFileList = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Runner events (worker threads)

void TFrmMain::DosCommand1NewLine(TObject* Sender, const std::string& NewLine, TOutputType OutputType) {
  if (const auto position = tonewell::ProgressFromLine(NewLine))
    ProgressBar1->SetPosition(*position);
}

void TFrmMain::DosCommand1Terminated(TObject* Sender) {
  ProgressBar1->SetPosition(0);
}

void TFrmMain::DosCommand2Terminated(TObject* Sender) { FProbeDone = true; }

// ---------------------------------------------------------------------------
// Job list

TFileInfo* TFrmMain::GetFileInfo(int index) const { return (*FFileList)[static_cast<size_t>(index)]; }

void TFrmMain::FreeFileList() {
  if (!FFileList) return;
  for (TFileInfo* info : *FFileList) delete info;
  FFileList->clear();
}

// One probe pause: a second, cut short when the probe's command is over (its
// end, or a tool that could not be started: then nothing more will come).
// Window messages wait until the pause is over.
void TFrmMain::ProbePause() { WaitForSingleObject(DosCommand2->EndEvent(), kProbePassMs); }

bool TFrmMain::PumpMessages() {
  Application->ProcessMessages();
  return !FClosing;
}

int TFrmMain::GetDuration(const std::wstring& path) {
  DosCommand2->SetCommandLine(tonewell::ProbeCommandLine(FAppPath + tonewell::kProbeToolName, path));
  FProbeDone = false;
  DosCommand2->Execute();

  for (int pass = 0; pass < kProbePasses; ++pass) {
    if (FProbeDone) break;
    // A tool that could not be started reports no end: nothing will come.
    if (DosCommand2->StartFailed()) break;
    if (tonewell::HasDurationMarker(DosCommand2->Lines().Snapshot())) break;
    ProbePause();
    if (!PumpMessages()) break;
  }
  DosCommand2->Stop();
  if (FClosing) return 0;
  // Found or not, the now complete lines hold the answer.
  return tonewell::DurationFromProbeLines(DosCommand2->Lines().Snapshot());
}

bool TFrmMain::RefuseInput() const { return FProbing || FConverting || FClosing; }

void TFrmMain::btnAddClick(TObject* Sender) {
  if (RefuseInput()) return;
  // The dialog may change the current folder; it is put back.
  const std::wstring folder = CurrentFolder();
  const bool chosen = OpenDialog1->Execute();
  if (!folder.empty()) SetCurrentDirectoryW(folder.c_str());
  if (!chosen) return;
  ProgressBar1->SetPosition(0);
  lblInfo->SetCaption(kStatusReady);
  const std::wstring path = OpenDialog1->FileName();

  auto info = std::make_unique<TFileInfo>();
  FProbing = true;
  try {
    info->Duration = GetDuration(path);
  } catch (...) {
    FProbing = false;
    throw;
  }
  FProbing = false;
  if (FClosing || !FFileList) return;  // the window went while we waited
  info->Status = kStatusReady;
  info->FileName = path;
  FFileList->push_back(info.release());
  lvwFiles->Items()->SetCount(static_cast<int>(FFileList->size()));
}

void TFrmMain::btnDeleteClick(TObject* Sender) {
  if (RefuseInput()) return;
  if (lvwFiles->Items()->Count() == 0) return;
  const int index = lvwFiles->ItemIndex();
  if (index < 0 || index >= static_cast<int>(FFileList->size())) return;
  delete (*FFileList)[static_cast<size_t>(index)];
  FFileList->erase(FFileList->begin() + index);
  lvwFiles->Items()->SetCount(static_cast<int>(FFileList->size()));
  lvwFiles->Repaint();
}

void TFrmMain::btnClearClick(TObject* Sender) {
  if (RefuseInput()) return;
  FreeFileList();
  lvwFiles->Items()->SetCount(0);
  lvwFiles->Repaint();
  lvwFiles->Clear();
}

void TFrmMain::lvwFilesData(TObject* Sender, TListItem* Item) {
  if (!FFileList || Item->Index() < 0 || Item->Index() >= static_cast<int>(FFileList->size())) return;
  const TFileInfo* info = (*FFileList)[static_cast<size_t>(Item->Index())];
  Item->Caption = info->FileName;
  if (lvwFiles->ViewStyle() == vsReport) Item->SubItems.Add(info->Status);
}

// ---------------------------------------------------------------------------
// Conversion run

bool TFrmMain::ConvertVideo(TFileInfo* info) {
  ProgressBar1->SetMax(info->Duration);
  ProgressBar1->SetMin(0);
  const std::wstring output = tonewell::OutputFilePath(edtSaveDir->GetText(), info->FileName);
  DosCommand1->SetCommandLine(
      tonewell::ConversionCommandLine(FAppPath + tonewell::kConversionToolName, info->FileName, output));
  DosCommand1->Execute();

  // Handle every message as it arrives and wake the moment the runner ends
  // (also when its tool could not be started); the worker's progress
  // updates are sent messages, handled here too. No busy loop: the tool
  // needs the processor more than we do.
  const HANDLE ended = DosCommand1->EndEvent();
  while (DosCommand1->IsRunning() && !FClosing) {
    MsgWaitForMultipleObjectsEx(1, &ended, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    PumpMessages();
  }
  DosCommand1->Stop();
  return !DosCommand1->StartFailed() && DosCommand1->ExitCode() == 0;
}

void TFrmMain::btnConvertClick(TObject* Sender) {
  if (RefuseInput()) return;
  const std::wstring folder = edtSaveDir->GetText();
  if (folder.empty()) {
    Application->ShowMessageBox(L"请选择保存的文件夹", Application->Title(), MB_OK);
    return;
  }
  CreateDirPath(folder);

  GroupBox3->SetEnabled(false);
  GroupBox6->SetEnabled(false);
  lvwFiles->SetEnabled(false);
  btnConvert->SetEnabled(false);
  FConverting = true;

  const int count = static_cast<int>(FFileList->size());
  for (int i = 0; i < count; ++i) {
    TFileInfo* info = GetFileInfo(i);
    lblInfo->SetCaption(L"正在转换 " + info->FileName);
    const bool converted = ConvertVideo(info);
    // The window closed during the run: stop here.
    if (FClosing) {
      FConverting = false;
      return;
    }
    info->Status = converted ? kStatusDone : kStatusFailed;
    lvwFiles->UpdateItems();  // rows are asked again: the new status shows
  }
  FConverting = false;

  ProgressBar1->SetPosition(0);
  lblInfo->SetCaption(L"转换完成");
  GroupBox3->SetEnabled(true);
  GroupBox6->SetEnabled(true);
  lvwFiles->SetEnabled(true);
  btnConvert->SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Output folder

void TFrmMain::Button8Click(TObject* Sender) {
  if (RefuseInput()) return;
  const std::wstring folder = BrowseFolder(Handle(), L"请选择文件", L"");
  if (!folder.empty()) edtSaveDir->SetText(folder);
}

std::wstring BrowseFolder(HWND owner, const std::wstring& title, const std::wstring& root) {
  std::wstring result;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return result;

  LPITEMIDLIST rootItem = nullptr;
  if (!root.empty()) {
    std::wstring text = root;
    desktop->ParseDisplayName(owner, nullptr, text.data(), nullptr, &rootItem, nullptr);
  }
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.pidlRoot = rootItem;
  bi.pszDisplayName = displayName;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  LPITEMIDLIST chosen = SHBrowseForFolderW(&bi);
  if (chosen) {
    wchar_t path[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListW(chosen, path)) result = tonewell::FolderChooserResult(path);
    CoTaskMemFree(chosen);
  }
  if (rootItem) CoTaskMemFree(rootItem);
  desktop->Release();
  return result;
}

void CreateDirPath(const std::wstring& path) {
  DWORD failure = ERROR_SUCCESS;
  std::wstring failedLevel;
  const bool made = tonewell::CreateDirLevels(path, FolderExists, [&](const std::wstring& level) {
    if (CreateDirectoryW(level.c_str(), nullptr)) return true;
    failure = GetLastError();
    // Made meanwhile by someone else: fine; a file of that name is not.
    if (failure == ERROR_ALREADY_EXISTS && FolderExists(level)) return true;
    if (failure == ERROR_ALREADY_EXISTS) failure = ERROR_DIRECTORY;
    failedLevel = level;
    return false;
  });
  if (made) return;
  HWND owner = FrmMain ? FrmMain->Handle() : nullptr;
  MessageBoxW(owner, tonewell::CreateDirErrorText(path).c_str(), L"Error", MB_OK | MB_ICONERROR);
  throw Exception(L"Cannot create folder \"" + failedLevel + L"\". " + SystemErrorText(failure));
}

// ---------------------------------------------------------------------------
// The form class: its components by name and the handlers its description
// wires by name.

TW_IMPLEMENT_CLASS(TFrmMain, [](TClassBuilder<TFrmMain>& c) {
  c.Component(L"SkinData1", &TFrmMain::SkinData1);
  c.Component(L"SkinStore1", &TFrmMain::SkinStore1);
  c.Component(L"GroupBox2", &TFrmMain::GroupBox2);
  c.Component(L"Label1", &TFrmMain::Label1);
  c.Component(L"Label2", &TFrmMain::Label2);
  c.Component(L"lblInfo", &TFrmMain::lblInfo);
  c.Component(L"ProgressBar1", &TFrmMain::ProgressBar1);
  c.Component(L"GroupBox3", &TFrmMain::GroupBox3);
  c.Component(L"GroupBox6", &TFrmMain::GroupBox6);
  c.Component(L"Button8", &TFrmMain::Button8);
  c.Component(L"edtSaveDir", &TFrmMain::edtSaveDir);
  c.Component(L"Label10", &TFrmMain::Label10);
  c.Component(L"btnConvert", &TFrmMain::btnConvert);
  c.Component(L"OpenDialog1", &TFrmMain::OpenDialog1);
  c.Component(L"WebBrowser1", &TFrmMain::WebBrowser1);
  c.Component(L"Panel1", &TFrmMain::Panel1);
  c.Component(L"lvwFiles", &TFrmMain::lvwFiles);
  c.Component(L"Panel2", &TFrmMain::Panel2);
  c.Component(L"btnAdd", &TFrmMain::btnAdd);
  c.Component(L"btnDelete", &TFrmMain::btnDelete);
  c.Component(L"btnClear", &TFrmMain::btnClear);

  c.Handler<TNotifyEvent>(L"FormCreate", &TFrmMain::FormCreate);
  c.Handler<TCloseEvent>(L"FormClose", &TFrmMain::FormClose);
  c.Handler<TNotifyEvent>(L"btnAddClick", &TFrmMain::btnAddClick);
  c.Handler<TNotifyEvent>(L"btnDeleteClick", &TFrmMain::btnDeleteClick);
  c.Handler<TNotifyEvent>(L"btnClearClick", &TFrmMain::btnClearClick);
  c.Handler<TLVOwnerDataEvent>(L"lvwFilesData", &TFrmMain::lvwFilesData);
  c.Handler<TNotifyEvent>(L"Button8Click", &TFrmMain::Button8Click);
  c.Handler<TNotifyEvent>(L"btnConvertClick", &TFrmMain::btnConvertClick);
})
