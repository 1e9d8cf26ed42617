// Forms, the application and the screen (Windows).
//
// Classes in this file:
//   TCustomForm / TForm   top-level window built from its stored form description
//                         (resource named after the upper-case class name);
//                         Caption, ClientWidth/ClientHeight, BorderStyle,
//                         BorderIcons, Position, OnCreate, OnClose (close action),
//                         Tab, Enter and Escape through the library's dialog-key
//                         notification
//   TApplication          Title (the taskbar button's text, on a hidden owner
//                         window), MainForm, Run, ProcessMessages, Terminate,
//                         HandleException (message box, the program goes on)
//   TScreen               the list of forms, screen size
//   Application, Screen   the single instances
//   LoadFormFromText      builds a form from description text (tests)
#pragma once

#include <windows.h>

#include <memory>

#include "gui/Controls.h"
#include "gui/FormData.h"

class TMainMenu;
class TScrollHelper;

enum TFormBorderStyle { fbsNone, fbsSingle, fbsSizeable, fbsDialog, fbsToolWindow, fbsSizeToolWin };
extern const TEnumInfo kFormBorderStyleInfo;  // texts bsNone, bsSingle, bsSizeable, ...
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
extern const TEnumInfo kBorderIconsInfo;
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
extern const TEnumInfo kPositionInfo;
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormState { fsNormalState, fsCreating };

using TCloseEvent = TDelegate<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TDelegate<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  TW_DECLARE_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  // Scroll bars when undocked children reach past the client area (off
  // unless a description or the program turns it on).
  bool AutoScroll() const;
  void SetAutoScroll(bool a);

  // Constructs a T, reads its stored description (resource UpperCase of the
  // class name), then runs OnCreate. The form is owned by `owner`.
  template <class T>
  static T* Create(TComponent* owner) {
    T* form = new T(owner);
    try {
      form->ReadDescription();
      form->DoCreate();
    } catch (...) {
      Free(form);
      throw;
    }
    return form;
  }
  // Reads the stored description from the exe's resources.
  void ReadDescription();
  void ReadDescription(const TFormNode& node, const std::wstring& source);
  void DoCreate();

  int ClientWidthValue() const;
  void SetClientWidth(int w);
  int ClientHeightValue() const;
  void SetClientHeight(int h);
  RECT ClientRect() const override;

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle b);
  int BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(int icons);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition p);
  // The menu bar (published as Menu). Setting it, and every change of its
  // items, sends the menu-changed notification to the form.
  TMainMenu* Menu() const { return FMenu; }
  void SetMenu(TMainMenu* menu);
  // The native menu on the window, or nullptr.
  HMENU MenuHandle() const;
  // Runs the menu item with this key's shortcut (the menu bar's, then the
  // form's popup menus'); true when one ran.
  bool IsShortCut(WORD key, TShiftState shift);

  // --- operations
  void Show();
  void Close();
  // Frees the form after the current message (posts the release notification).
  void Release();
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* c);
  // Moves the focus to the next (or previous) control in tab order.
  void SelectNext(TWinControl* current, bool forward);

  TNotifyEvent OnCreate;
  // Runs in BeforeDestruction (Free, release, the owner's destruction).
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& m) override;
  void Loaded() override;
  void BeforeDestruction() override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void CreateParams(TCreateParams& p) override;
  void InitializeWnd() override;

 private:
  std::unique_ptr<TScrollHelper> FScroller;
  void FrameSize(int& dx, int& dy) const;
  void ApplyClientSize();
  void ApplyPosition();
  std::vector<TWinControl*> TabStops() const;

  TFormBorderStyle FBorderStyle = fbsSizeable;
  int FBorderIcons = (1 << biSystemMenu) | (1 << biMinimize) | (1 << biMaximize);
  TPosition FPosition = poDesigned;
  int FClientWidth = -1, FClientHeight = -1;  // as stored; -1 until set
  TMainMenu* FMenu = nullptr;
  TWinControl* FActiveControl = nullptr;
  bool FPositioned = false;
  bool FHiddenByMinimize = false;
  friend class TApplication;
};

class TForm : public TCustomForm {
  TW_DECLARE_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

class TScreen : public TComponent {
  TW_DECLARE_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* owner) : TComponent(owner) {}
  int FormCount() const { return static_cast<int>(FForms.size()); }
  TCustomForm* Forms(int i) const { return FForms.at(static_cast<size_t>(i)); }
  TCustomForm* ActiveForm() const;
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

 private:
  friend class TCustomForm;
  std::vector<TCustomForm*> FForms;
};

class TApplication : public TComponent {
  TW_DECLARE_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // Records the GUI thread, installs the exception handler, makes the
  // hidden owner window.
  void Initialize();
  const std::wstring& Title() const { return FTitle; }
  void SetTitle(const std::wstring& t);
  TCustomForm* MainForm() const { return FMainForm; }
  HWND Handle() const { return FHandle; }

  // Creates a form from its description; the first becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    reference = TCustomForm::Create<T>(this);
    if (!FMainForm) FMainForm = reference;
  }
  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every waiting message, then returns.
  void ProcessMessages();
  // Handles one message (waits for one when `wait`); false after WM_QUIT.
  bool HandleMessage(bool wait);
  // Handles a message taken from the queue as the message loop does
  // (shortcuts and dialog keys first); test pumps use it.
  void Dispatch(MSG& msg);
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // Shows an error's text in a message box; the program goes on.
  void HandleException(const std::exception_ptr& error);
  void ShowException(const std::wstring& text);
  // Library message-box helper with the application title.
  int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags);

  // Forms use this: the main form was closed.
  void MainFormClosed() { Terminate(); }

 private:
  friend class TCustomForm;
  bool PreTranslate(MSG& msg);
  static LRESULT CALLBACK AppWndProc(HWND, UINT, WPARAM, LPARAM);
  std::wstring FTitle;
  TCustomForm* FMainForm = nullptr;
  HWND FHandle = nullptr;
  bool FTerminated = false;
  bool FShowingException = false;
};

extern TApplication* Application;
extern TScreen* Screen;

// Builds a form from description text (no resource involved): tests and tools.
void LoadFormFromText(TCustomForm* form, const std::wstring& text, const TFileResolver& resolve = nullptr,
                      const std::wstring& source = L"form");

// Builds every form description stored in the exe onto a fresh instance of
// its root class (OnCreate does not run) and answers the errors found, one
// text per faulty description; empty when all are sound.
std::vector<std::wstring> VerifyFormResources();

// Registers every class of the library by name (done by Initialize; call it
// in programs that read descriptions without an Application).
void RegisterStandardClasses();
