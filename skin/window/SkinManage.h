// The skin manager: one per process, the switchboard between the skin
// definitions and the program's windows (Windows).
//
// Classes and functions in this file:
//   TSkinManage        watches the GUI thread's windows through a CBT hook,
//                      decides which top-level windows get a frame
//                      (SkinWindow), keeps one TWinSkinForm per skinned
//                      window, and carries out activation, deactivation and
//                      refresh on its action timer, never inside the caller
//   SkinManager        the instance, or null before the first skin loaded
//   CreateSkinManager  makes the instance (the first skin definition that
//                      finishes loading calls it)
//   DestroySkinManager tears it down (end of the program, tests)
//
// Action codes of RequestAction: 1 activate, 2 deactivate, 3 refresh after a
// skin change.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TTimer;
class TObject;
class TCustomForm;
class TWinSkinForm;

enum : int { kActionSkin = 1, kActionUnskin = 2, kActionRefresh = 3 };
// State values: 0 created, 1 a skin is in use, 4 being destroyed.
enum : int { kManagerCreated = 0, kManagerInUse = 1, kManagerDestroying = 4 };
// A library form with this Tag is never framed (whatever DisableTag says).
constexpr int kNoFrameTag = 99;

class TSkinManage {
public:
  // --- construction
  TSkinManage();
  // State 4; frames are detached quickly and freed, the hook removed (the
  // popup windows are let go by DestroySkinManager).
  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  // --- attributes
  bool Active() const { return FActive; }
  void SetActive(bool value) { FActive = value; }
  int State() const { return FState; }
  void SetState(int state) { FState = state; }
  TSkinData* PendingSkin() const { return FPendingSkin; }
  void SetPendingSkin(TSkinData* skin) { FPendingSkin = skin; }
  int PendingAction() const { return FPendingAction; }
  TSkinData* MainSkin() const { return FMainSkin; }
  const std::vector<TSkinData*>& Skins() const { return FSkinList; }
  const std::vector<TWinSkinForm*>& Forms() const { return FFormList; }
  HHOOK HookHandle() const { return FHook; }
  // Interval of the action timer (ms) and whether it runs.
  unsigned ActionInterval() const;
  bool ActionPending() const;
  // The manager walks existing forms during an activation.
  bool Scanning() const { return FScanning; }
  HWND MDIClient() const { return FMDIClient; }
  void SetMDIClient(HWND client) { FMDIClient = client; }
  bool MDIMaximized() const { return FMDIMaximized; }
  void SetMDIMaximized(bool value) { FMDIMaximized = value; }

  // --- called by the skin definitions
  void AddSkin(TSkinData* skin);
  void RemoveSkin(TSkinData* skin);
  // Installs the CBT hook for the calling thread (once).
  void InstallHook();
  // Stores the action and re-arms the timer; before any skin is in use
  // (State 0) only records Active (code 1 sets it, 2 clears it).
  void RequestAction(int code, unsigned intervalMs);
  // Frames using the pending skin drop their caption buttons.
  void ApplySkinChange();
  // Attaches one window; true only when a frame object was created.
  bool SkinWindow(HWND window);

  // --- called by the frames and the hook
  // Drops the entry (does not free it); ignored while being destroyed.
  void RemoveSkinForm(TWinSkinForm* frame);
  TWinSkinForm* FindSkinForm(HWND window) const;
  // The skin definition for a window (see SelectSkin rules in the .cpp).
  TSkinData* SelectSkin(HWND window, const std::wstring& className) const;
  // Frees frames whose window is gone.
  void PurgeDeadFrames();

  // Runs the pending action now (the timer's handler).
  void RunPendingAction();

private:
  static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
  void ActionTimerTick(TObject* sender);
  void FormCheck(TCustomForm* form);
  void UnskinFrame(TWinSkinForm* frame);
  void AttachPopup(HWND window);
  void DetachPopup(HWND window);

  TTimer* FActionTimer = nullptr;
  HHOOK FHook = nullptr;
  std::vector<TWinSkinForm*> FFormList;
  std::vector<TSkinData*> FSkinList;
  bool FActive = false;
  bool FScanning = false;
  int FState = kManagerCreated;
  bool FMDIMaximized = false;
  HWND FMDIClient = nullptr;
  int FPendingAction = 0;
  TSkinData* FPendingSkin = nullptr;
  TSkinData* FMainSkin = nullptr;
};

TSkinManage* SkinManager();
TSkinManage& CreateSkinManager();
void DestroySkinManager();
