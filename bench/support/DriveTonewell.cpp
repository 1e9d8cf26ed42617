#include "bench/support/DriveTonewell.h"

#include <cstdio>

namespace bench {

double NowSeconds() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

double FileTimeSeconds(const FILETIME& t) {
  ULARGE_INTEGER v;
  v.LowPart = t.dwLowDateTime;
  v.HighPart = t.dwHighDateTime;
  return static_cast<double>(v.QuadPart) / 1e7;
}

double CpuSeconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return -1;
  return FileTimeSeconds(kernel) + FileTimeSeconds(user);
}

bool WriteWholeFile(const std::wstring& path, std::string_view bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(h);
  return ok;
}

bool AddThroughDialog(const e2e::TAppProcess& app, HWND add, HWND list, const std::wstring& path, DWORD ms) {
  const int before = e2e::ListViewCount(list);
  e2e::Click(add);
  HWND dialog = e2e::WaitForTopWindow(app.Pid(), L"#32770", 10000);
  return dialog && e2e::FillOpenDialog(dialog, path) &&
         e2e::WaitUntil([&] { return e2e::ListViewCount(list) == before + 1; }, ms);
}

std::wstring FolderArgument(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder;
}

std::wstring MakeTempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + name + L"\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

bool StartTonewell(e2e::TAppProcess& app, const std::wstring& folder) {
  if (app.Start(folder + L"Tonewell.exe", folder, L"Tonewell 2.2")) return true;
  std::fprintf(stderr, "Tonewell did not show its window\n");
  return false;
}

}  // namespace bench
