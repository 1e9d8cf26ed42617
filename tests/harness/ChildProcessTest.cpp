// A real child console program with standard output and error on one
// anonymous pipe; the test reads its bytes and its exit code.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring SiblingPath(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

TEST(HarnessChildProcess, ReadsRedirectedOutputAndExitCode) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, &sa, 0));
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_HIDE;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring cmd = L"\"" + SiblingPath(L"harness_echo_child.exe") + L"\"";
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                             NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE, nullptr, nullptr, &si, &pi))
      << GetLastError();
  CloseHandle(writeEnd);

  // Poll the pipe until the child has ended and the pipe is drained. Do not
  // read until end-of-file: under Wine a process started meanwhile (the
  // desktop process on a fresh wineserver) may inherit the write end and
  // keep the pipe open.
  std::string out;
  char buf[256];
  DWORD code = STILL_ACTIVE;
  const DWORD start = GetTickCount();
  for (;;) {
    GetExitCodeProcess(pi.hProcess, &code);
    DWORD avail = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &avail, nullptr) && avail > 0) {
      DWORD got = 0;
      if (!ReadFile(readEnd, buf, sizeof(buf), &got, nullptr) || got == 0) break;
      out.append(buf, got);
    }
    if (code != STILL_ACTIVE || GetTickCount() - start > 20000) break;
    Sleep(1);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(readEnd);

  EXPECT_EQ(out, "hello from child\r\nsecond line\n");
  EXPECT_EQ(code, 7u);
}

}  // namespace
