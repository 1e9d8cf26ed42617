// The skin model builder over arbitrary settings text, with a package of
// small images of every shape a skin uses: never a crash, the elements that
// always exist do, and the builder's indexed settings answer as the reader.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "skin/data/Bmp.h"
#include "skin/data/SkinModel.h"
#include "skin/data/WinSkinIni.h"

namespace {

class FuzzFiles final : public TSkinFileSource {
public:
  FuzzFiles() {
    // a.bmp .. h.bmp: 1 x 1 up to wide strips and tall images, with magenta.
    const int sizes[][2] = {{1, 1}, {2, 3}, {60, 20}, {120, 20}, {200, 21}, {13, 40}, {16, 4}, {0, 0}};
    for (int i = 0; i < 8; ++i) {
      Image img(sizes[i][0], sizes[i][1], 0x336699);
      if (!img.Empty()) img.SetPixel(0, 0, 0xFF00FF);
      bytes_[i] = EncodeBmp(img, 24);
    }
  }
  std::vector<uint8_t> Extract(std::string_view name) const override {
    if (name.size() == 5 && name.substr(1) == ".bmp") {
      const int i = (name[0] | 0x20) - 'a';
      if (i >= 0 && i < 8) return bytes_[i];
    }
    return {};
  }

private:
  std::vector<uint8_t> bytes_[8];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const FuzzFiles files;
  static const TSkinEnvironment env = [] {
    TSkinEnvironment e;
    e.Track = Image(16, 4, 0x808080);
    e.TrackVert = Image(4, 16, 0x808080);
    return e;
  }();
  TQuickIni ini;
  ini.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  const TQuickIniSettings settings(ini);
  int compared = 0;
  for (const auto& [header, first] : ini.Sections()) {
    const std::string section = header.substr(1, header.size() - 2);
    for (std::size_t i = std::size_t(first) + 1; i < ini.Lines().size() && compared < 64; ++i, ++compared) {
      const std::string& line = ini.Lines()[i];
      const std::string key = line.substr(0, line.find('='));
      if (settings.ReadString(section, key, "?") != ini.ReadString(section, key, "?")) std::abort();
    }
  }
  TSkinModel model;
  model.Build(files, settings, env);
  if (!model.Title || !model.Buttons || !model.FrameTop || !model.Track() || !model.Toolbar() ||
      !model.ComboArrow() || model.SysButtons.size() < 3)
    std::abort();
  return 0;
}
