// The converter's main window and its handlers.
//
// Classes in this file:
//   TFileInfo  - one job: duration, status text, source path
//   TFrmMain   - the main window: job list with the duration probe, the
//                conversion run, the output folder, the banner and the skin
//                (with a chooser of the embedded skins in its system menu)
//
// Routines: BrowseFolder, CreateDirPath.
//
// The window is built from its stored form description (app/Main.form); the
// two console runners DosCommand1 (conversions) and DosCommand2 (probes) are
// module variables owned by the window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/ComCtrls.h"
#include "gui/Dialogs.h"
#include "gui/Forms.h"
#include "gui/StdCtrls.h"

#include "console/DosCommand.h"

class TSkinData;
class TSkinStore;
class TWebBrowser;

struct TFileInfo {
  int32_t Duration = 0;   // playing time in whole seconds; 0 when the probe found none
  std::wstring Status;    // "准备就绪", "完成" or "失败"
  std::wstring FileName;  // full path, as the open dialog returned it
};

// Commands of the skin chooser in the window's system menu: one per store
// item, 16 apart (the system uses the low 4 bits of a command) and below the
// system's own commands (0xF000 and up).
inline constexpr UINT kSkinCommandFirst = 0x0100;
inline constexpr UINT kSkinCommandStep = 0x0010;
inline constexpr int kSkinCommandCount = 16;

// Job status texts.
inline constexpr wchar_t kStatusReady[] = L"准备就绪";
inline constexpr wchar_t kStatusDone[] = L"完成";
inline constexpr wchar_t kStatusFailed[] = L"失败";

class TFrmMain : public TForm {
  TW_DECLARE_CLASS(TFrmMain, TForm)

 public:
  // Construction
  explicit TFrmMain(TComponent* owner);
  ~TFrmMain() override;

  // Components of the form description, in their stored order
  TSkinData* SkinData1 = nullptr;
  TSkinStore* SkinStore1 = nullptr;
  TGroupBox* GroupBox2 = nullptr;
  TLabel* Label1 = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* lblInfo = nullptr;
  TProgressBar* ProgressBar1 = nullptr;
  TGroupBox* GroupBox3 = nullptr;
  TGroupBox* GroupBox6 = nullptr;
  TButton* Button8 = nullptr;
  TEdit* edtSaveDir = nullptr;
  TLabel* Label10 = nullptr;
  TButton* btnConvert = nullptr;
  TOpenDialog* OpenDialog1 = nullptr;
  TWebBrowser* WebBrowser1 = nullptr;
  TPanel* Panel1 = nullptr;
  TListView* lvwFiles = nullptr;
  TPanel* Panel2 = nullptr;
  TButton* btnAdd = nullptr;
  TButton* btnDelete = nullptr;
  TButton* btnClear = nullptr;

  // Handlers wired by the form description
  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void btnAddClick(TObject* Sender);
  void btnDeleteClick(TObject* Sender);
  void btnClearClick(TObject* Sender);
  void lvwFilesData(TObject* Sender, TListItem* Item);
  void Button8Click(TObject* Sender);
  void btnConvertClick(TObject* Sender);

  // Runner handlers wired by FormCreate; they run on the runners' workers
  void DosCommand1NewLine(TObject* Sender, const std::string& NewLine, TOutputType OutputType);
  void DosCommand1Terminated(TObject* Sender);
  void DosCommand2Terminated(TObject* Sender);

  // Operations
  TFileInfo* GetFileInfo(int index) const;
  void FreeFileList();
  int GetDuration(const std::wstring& path);
  // Converts one record; false when its tool could not be started or ended
  // with a non-zero exit code.
  bool ConvertVideo(TFileInfo* info);

  // Skin chooser
  // Loads store item `index` and switches to it at once; nothing is saved.
  // A package that cannot be loaded leaves the skin in use as it was and
  // says so in a message box. Answers whether the new skin was loaded.
  bool ChooseSkin(int index);
  // The store item shown (-1 while no skin could be loaded).
  int SkinIndex() const { return FSkinIndex; }

  // The skin chooser's commands (WM_SYSCOMMAND), then the form's handling.
  void WndProc(TMessage& m) override;

  // Attributes (for tests and the benchmark)
  const std::wstring& AppPath() const { return FAppPath; }
  int FileCount() const { return FFileList ? static_cast<int>(FFileList->size()) : -1; }
  bool Busy() const { return FProbing || FConverting; }
  // Every input handler returns at once while this holds: a probe or a run
  // is waiting (the window still handles messages then: clicks arrive by
  // mouse, keyboard or BM_CLICK, even on buttons of a disabled group box),
  // or the window is closing.
  bool RefuseInput() const;

 protected:
  void InitializeWnd() override;

 private:
  // Handles pending messages; false once the window is closing.
  bool PumpMessages();
  void ProbePause();
  // Loads the program's skin and switches it on (plain look when it fails).
  void StartSkin();
  // The skin items of the system menu (once per window), the shown one checked.
  void AddSkinChooser();
  void CheckShownSkin();
  // The banner takes the colours of the skin in use (or the plain ones).
  void SkinData1SkinChanged(TObject* Sender);

  std::wstring FAppPath;
  std::vector<TFileInfo*>* FFileList = nullptr;
  std::atomic<bool> FProbeDone{false};

  bool FProbing = false;
  bool FConverting = false;
  bool FClosing = false;
  int FSkinIndex = -1;
  bool FChoosingSkin = false;
  bool FSkinChooser = false;  // set once the form is created
};

extern TFrmMain* FrmMain;
extern TDosCommand* DosCommand1;
extern TDosCommand* DosCommand2;

// The shell's folder browser: the chosen file-system folder, ending in a
// backslash (a drive root stays "C:\"), or empty when nothing was chosen.
std::wstring BrowseFolder(HWND owner, const std::wstring& title, const std::wstring& root);

// Creates every missing level of `path`. On failure shows the error dialog
// and then throws the creation failure.
void CreateDirPath(const std::wstring& path);
