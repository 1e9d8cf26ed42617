// A console child for the runner tests that writes exactly the bytes it is
// told to, with pauses between the writes so each lands in its own read.
// Arguments, in order:
//   w:HEX    write these bytes (hex pairs, e.g. w:610d0a)
//   s:MS     sleep MS milliseconds
//   p        write "pid=<process id>\n"
//   c        write "cwd=<current folder>\n" (UTF-8)
//   n:N:MS   write N numbered lines "line <i>\n", sleeping MS after each
//   h        sleep until killed
//   x:CODE   exit with CODE now (the default is 0 after the last argument)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Write(const std::string& bytes) {
  DWORD done = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("w:", 0) == 0) {
      std::string bytes;
      for (size_t k = 2; k + 1 < arg.size(); k += 2) bytes += static_cast<char>(std::stoi(arg.substr(k, 2), nullptr, 16));
      Write(bytes);
    } else if (arg.rfind("s:", 0) == 0) {
      Sleep(static_cast<DWORD>(std::atoi(arg.c_str() + 2)));
    } else if (arg == "c") {
      wchar_t folder[MAX_PATH] = {};
      GetCurrentDirectoryW(MAX_PATH, folder);
      char utf8[4 * MAX_PATH] = {};
      WideCharToMultiByte(CP_UTF8, 0, folder, -1, utf8, sizeof utf8, nullptr, nullptr);
      Write(std::string("cwd=") + utf8 + "\n");
    } else if (arg == "p") {
      Write("pid=" + std::to_string(GetCurrentProcessId()) + "\n");
    } else if (arg.rfind("n:", 0) == 0) {
      int count = 0, pause = 0;
      std::sscanf(arg.c_str() + 2, "%d:%d", &count, &pause);
      for (int k = 0; k < count; ++k) {
        Write("line " + std::to_string(k) + "\n");
        Sleep(static_cast<DWORD>(pause));
      }
    } else if (arg == "h") {
      for (;;) Sleep(INFINITE);
    } else if (arg.rfind("x:", 0) == 0) {
      return std::atoi(arg.c_str() + 2);
    }
  }
  return 0;
}
