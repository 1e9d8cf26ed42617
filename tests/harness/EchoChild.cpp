// Console child for the harness: prints a known byte sequence to standard
// output and standard error, then exits with code 7.
#include <cstdio>

int main() {
  std::fputs("hello from child\r\n", stdout);
  std::fflush(stdout);
  std::fputs("second line\n", stderr);
  std::fflush(stderr);
  return 7;
}
