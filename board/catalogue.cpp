#include "board/catalogue.h"

#include <algorithm>
#include <array>

#include "board/buttons.h"

namespace board {
namespace {

// Button order (超级按钮1 to 45): unit identifiers rise with the number.
constexpr std::array<SoundClip, kButtons.size()> ClipsInButtonOrder() {
    std::array<SoundClip, kButtons.size()> out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = SoundClip{kButtons[i].id, kButtons[i].name, kButtons[i].caption, kButtons[i].clip};
    std::sort(out.begin(), out.end(), [](const SoundClip& a, const SoundClip& b) { return a.button < b.button; });
    return out;
}
constexpr auto kClips = ClipsInButtonOrder();

const SoundClip kStartup{0, "", "", &kClipStartup};

}  // namespace

std::span<const SoundClip> BoardClips() { return kClips; }

const SoundClip* FindClip(std::uint32_t button) {
    for (const SoundClip& c : kClips)
        if (c.button == button) return &c;
    return nullptr;
}

const SoundClip& StartupClip() { return kStartup; }

}  // namespace board
