#pragma once
// The web panel kind: its stored block, version 1.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "base/block_builder.h"

namespace web {

struct HtmlViewerProps {
    std::int32_t text_size = 2;  // 8: 0 smallest .. 4 largest
    bool offline = false;        // 9
    bool silent = false;         // 10
    std::string url;             // 11
};

std::int32_t ClampTextSize(std::int32_t v);

std::optional<HtmlViewerProps> ParseHtmlViewerBlock(std::span<const std::uint8_t> block);

template <std::size_t N>
constexpr auto HtmlViewerBlock(std::int32_t text_size, bool offline, bool silent,
                               const char (&url)[N]) {
    using namespace base::block;
    return Cat(U32(1), U32(std::uint32_t(text_size)), U32(offline), U32(silent), Text(url));
}

}  // namespace web
