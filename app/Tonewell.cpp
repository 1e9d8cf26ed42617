// Program entry: the application, its title and the main window; no command
// line is read.
#include <windows.h>

#include "app/Main.h"
#include "skin/data/SkinReadMessage.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    Application->Initialize();
    InstallSkinReaderMessageBox();
    Application->SetTitle(L"Tonewell 2.1");
    Application->CreateForm<TFrmMain>(FrmMain);
    Application->Run();
  } catch (...) {
    // A main window that cannot be built: say why instead of vanishing.
    Application->ShowException(ExceptionText(std::current_exception()));
    return 1;
  }
  return 0;
}
