// Console child for the harness: writes a known byte sequence to standard
// output and standard error, then exits with code 7. WriteFile, not stdio:
// the C runtime's text mode would turn LF into CR LF.
#include <windows.h>

namespace {
void Put(DWORD which, const char* text) {
  DWORD n = 0;
  WriteFile(GetStdHandle(which), text, lstrlenA(text), &n, nullptr);
}
}  // namespace

int main() {
  Put(STD_OUTPUT_HANDLE, "hello from child\r\n");
  Put(STD_ERROR_HANDLE, "second line\n");
  return 7;
}
