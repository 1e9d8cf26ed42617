#include "gui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <vector>

#include "gui/Forms.h"

TW_IMPLEMENT_CLASS(TOpenDialog, [](TClassBuilder<TOpenDialog>& c) {
  c.Field(L"Filter", &TOpenDialog::FFilter);
  c.Field(L"FilterIndex", &TOpenDialog::FFilterIndex);
  c.Field(L"Title", &TOpenDialog::FTitle);
  c.Field(L"InitialDir", &TOpenDialog::FInitialDir);
  c.Field(L"DefaultExt", &TOpenDialog::FDefaultExt);
  c.Field(L"FileName", &TOpenDialog::FFileName);
})

std::wstring TOpenDialog::FilterPairs(const std::wstring& filter) {
  std::wstring out = filter;
  for (auto& c : out)
    if (c == L'|') c = L'\0';
  out.push_back(L'\0');
  out.push_back(L'\0');
  return out;
}

namespace {
HWND DialogOwner() {
  if (TCustomForm* f = Screen->ActiveForm()) return f->Handle();
  if (Application->MainForm() && Application->MainForm()->HandleAllocated()) return Application->MainForm()->Handle();
  return Application->Handle();
}
}  // namespace

bool TOpenDialog::Execute() {
  std::vector<wchar_t> buffer(32768, L'\0');
  FFileName.copy(buffer.data(), std::min(FFileName.size(), buffer.size() - 1));
  std::wstring filter = FilterPairs(FFilter);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = DialogOwner();
  ofn.lpstrFilter = FFilter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(FFilterIndex);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = FInitialDir.empty() ? nullptr : FInitialDir.c_str();
  ofn.lpstrTitle = FTitle.empty() ? nullptr : FTitle.c_str();
  ofn.lpstrDefExt = FDefaultExt.empty() ? nullptr : FDefaultExt.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return false;
  FFileName = buffer.data();
  FFilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

bool SelectDirectory(const std::wstring& caption, std::wstring& directory) {
  wchar_t display[MAX_PATH] = {};
  BROWSEINFOW bi = {};
  bi.hwndOwner = DialogOwner();
  bi.pszDisplayName = display;
  bi.lpszTitle = caption.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return false;
  // Long paths: ask with a large buffer where the system allows it.
  std::vector<wchar_t> path(32768, L'\0');
  bool ok = SHGetPathFromIDListEx(pidl, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT) ||
            SHGetPathFromIDListW(pidl, path.data());
  CoTaskMemFree(pidl);
  if (!ok || !path[0]) return false;
  directory = path.data();
  return true;
}
