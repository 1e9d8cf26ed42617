// Any bytes as a skin package handed to the skin tool: reading, checking and
// repacking must end in a result or a SkinToolError, never a crash.
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinFiles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        skintool::SkinFiles skin = skintool::ReadSkinPackage(std::vector<uint8_t>(data, data + size));
        skintool::CheckSkin(skin);
        skintool::PackSkin(skin);
    } catch (const skintool::SkinToolError&) {
    }
    return 0;
}
