#include "web/html_props.h"

#include <algorithm>

#include "base/byte_reader.h"

namespace web {

std::int32_t ClampTextSize(std::int32_t v) { return std::clamp(v, 0, 4); }

std::optional<HtmlViewerProps> ParseHtmlViewerBlock(std::span<const std::uint8_t> block) {
    base::ByteReader r(block);
    if (r.u32() != 1) return std::nullopt;
    HtmlViewerProps p;
    p.text_size = ClampTextSize(r.i32());
    p.offline = r.u32() != 0;
    p.silent = r.u32() != 0;
    p.url = r.text();
    if (!r.at_end()) return std::nullopt;
    return p;
}

}  // namespace web
