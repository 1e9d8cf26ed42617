// A program that starts a hanging child through the runner and writes the
// child's process id to the file named by its first argument, then waits to
// be killed. The runner test kills it and expects the child to end with it.
#include <windows.h>

#include <fstream>
#include <string>

#include "console/DosCommand.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring out = argv[1], child = argv[2];
  TComponent owner(nullptr);
  auto* runner = new TDosCommand(&owner);
  runner->SetCommandLine(L"\"" + child + L"\" p h");
  runner->Execute();
  for (;;) {
    for (const std::string& line : runner->Lines().Snapshot()) {
      if (line.rfind("pid=", 0) == 0) {
        std::ofstream(out.c_str()) << line.substr(4) << "\n";
        for (;;) Sleep(INFINITE);
      }
    }
    if (!runner->IsRunning() && runner->StartFailed()) return 3;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
}
