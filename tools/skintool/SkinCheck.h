// Checks a skin against the settings vocabulary and builds its model.
//
// Classes in this file:
//   Finding      - one error or warning, with the section it is about.
//   CheckReport  - all findings of one check.
// Functions: CheckSkin.
#pragma once

#include "tools/skintool/SkinFiles.h"

#include <string>
#include <vector>

class TQuickIni;

namespace skintool {

struct Finding {
    enum Level { Warning, Error } level;
    std::string where;  // "[Section] Key" or a file name; may be empty
    std::string text;
};

struct CheckReport {
    std::vector<Finding> findings;
    std::string settingsName;
    int modelElements = 0;       // elements present after building the model
    int modelElementsTotal = 0;  // elements the model can hold

    int errors() const;
    int warnings() const;
};

// Errors: no or several settings files, a missing or unreadable image, an
// image key whose extension is not ".bmp" (the reader ignores such images),
// an image whose width (height for stacked strips) does not divide by its
// frame count, a frame key that disagrees with a fixed frame count, a zero
// frame count, and a model that fails to build. Warnings: unknown sections and
// keys, repeated sections, unused files, elements absent from the model.
CheckReport CheckSkin(const SkinFiles& skin);

} // namespace skintool
