#include "widgets/gdi.h"

#include <cstring>

#include "widgets/label_look.h"

namespace widgets {

static_assert(sizeof(LOGFONTA) == kLogicalFontBytes, "the stored font is a 32-bit LOGFONTA");

OwnedFont FontFromBlock(std::span<const std::uint8_t> block) {
    if (!HoldsLogicalFont(block)) return {};
    LOGFONTA lf;
    std::memcpy(&lf, block.data(), sizeof lf);
    lf.lfFaceName[LF_FACESIZE - 1] = '\0';  // stored bytes need not end the name
    return OwnedFont(CreateFontIndirectA(&lf));
}

}  // namespace widgets
