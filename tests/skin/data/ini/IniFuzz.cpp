// Fuzz target: arbitrary settings text through every look-up of TQuickIni.
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/data/WinSkinIni.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TQuickIni ini;
  ini.LoadFromText(text);
  std::vector<std::string> sections;
  ini.ReadSections(sections);
  // Look up every section with keys taken from its own lines and fixed ones.
  for (const std::string& name : sections) {
    // ReadSections trims inside the brackets, SectionIndex does not: "[ A ]"
    // is listed as "A" but found only as " A ".
    int index = ini.SectionIndex(name);
    if (index < 0) continue;
    if (std::size_t(index) >= ini.Lines().size() || !TQuickIni::IsHeader(ini.Lines()[std::size_t(index)]))
      __builtin_trap();
    for (std::size_t i = std::size_t(index) + 1; i < ini.Lines().size() && i < std::size_t(index) + 32; ++i) {
      const std::string& line = ini.Lines()[i];
      std::string key(line.substr(0, line.find('=')));
      (void)ini.ReadString(name, TQuickIni::Trim(key), "d");
      (void)ini.ReadInteger(name, TQuickIni::Trim(key), -1);
    }
    (void)ini.ReadInteger(name, "Trans", 0);
  }
  (void)TQuickIni::StrToIntDef(text.substr(0, 40), 0);
  return 0;
}
