// Draws every image of one skin and writes its settings text.
//
// Classes in this file:
//   SkinSource - the files of one skin: one settings file and BMP images,
//                in the order they go into the package.
// Functions: buildSkin (one look), buildResources (the program's three
// bitmap resources MOTLEYMENU, TRACK and TRACKVERT, as BMP bytes).
#pragma once

#include "tools/skingen/BmpOut.h"
#include "tools/skingen/SkinLook.h"

#include <string>
#include <utility>
#include <vector>

namespace skingen {

struct SkinSource {
    std::string iniName;   // e.g. "jade.ini"
    std::string ini;       // settings text, CR LF line ends
    std::vector<std::pair<std::string, Picture>> images;  // lower-case ".bmp" names
};

SkinSource buildSkin(const Look& look);

struct Resource {
    std::string name;            // resource name, also the file stem
    Picture picture;
    int bits = 4;                // 1 or 4
    std::vector<uint32_t> palette;
};
std::vector<Resource> buildResources();

} // namespace skingen
