// Fuzz target: form description text and compiled bytes must give a tree or
// an EFormError, never a crash, hang or other failure.
#include <cstddef>
#include <cstdint>
#include <string>

#include "gui/FormData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TFormNode n = ReadFormBinary(data, size);
    (void)WriteFormBinary(n);
  } catch (const EFormError&) {
  }
  try {
    std::string utf8(reinterpret_cast<const char*>(data), size);
    TFileResolver resolve = [](const std::wstring& p) -> std::vector<uint8_t> {
      if (p == L"x") return {1, 2, 3};
      throw EFormError(L"missing " + p);
    };
    TFormNode n = ParseFormText(Utf8ToWide(utf8), resolve, L"fuzz");
    std::vector<uint8_t> bytes = WriteFormBinary(n);
    TFormNode back = ReadFormBinary(bytes.data(), bytes.size());
    if (WriteFormBinary(back) != bytes) __builtin_trap();  // the round trip must be exact
  } catch (const EFormError&) {
  }
  return 0;
}
