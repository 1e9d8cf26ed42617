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

  std::string out;
  char buf[256];
  DWORD got = 0;
  while (ReadFile(readEnd, buf, sizeof(buf), &got, nullptr) && got > 0) out.append(buf, got);
  WaitForSingleObject(pi.hProcess, 10000);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(readEnd);

  EXPECT_EQ(out, "hello from child\r\nsecond line\n");
  EXPECT_EQ(code, 7u);
}

}  // namespace
