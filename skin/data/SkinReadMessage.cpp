#include "skin/data/SkinReadMessage.h"

#include <windows.h>

#include <string>

#include "skin/data/SkinRead.h"

namespace {

// The program's file name without folder and extension, as a title.
std::wstring ProgramTitle() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring title(path, n);
  const size_t slash = title.find_last_of(L"\\/");
  if (slash != std::wstring::npos) title.erase(0, slash + 1);
  const size_t dot = title.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) title.erase(dot);
  return title;
}

}  // namespace

void InstallSkinReaderMessageBox() {
  TSkinReader::SetMessageHook([](const std::string& text) {
    // The reader's texts are ASCII.
    const std::wstring wide(text.begin(), text.end());
    MessageBoxW(GetActiveWindow(), wide.c_str(), ProgramTitle().c_str(), MB_OK);
  });
}
