// Any bytes as a skin package handed to the skin tool: reading, checking and
// repacking must end in a result or a SkinToolError, never a crash.
#include "tools/skintool/SkinCheck.h"
#include "tools/skintool/SkinFiles.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A few bytes may state an expansion up to the decoder's bound (64 MiB,
    // seconds under the sanitizers; the lzh target and the decoder's tests
    // cover it). Real skins expand to a few hundred KiB: stay near them.
    constexpr uint32_t kMaxStated = 1u << 20;
    uint32_t stated = 0;
    for (size_t i = 0; i < 4 && i < size; ++i) stated |= uint32_t(data[i]) << (8 * i);
    if (stated > kMaxStated) return 0;
    try {
        skintool::SkinFiles skin = skintool::ReadSkinPackage(std::vector<uint8_t>(data, data + size));
        skintool::CheckSkin(skin);
        skintool::PackSkin(skin);
    } catch (const skintool::SkinToolError&) {
    }
    return 0;
}
