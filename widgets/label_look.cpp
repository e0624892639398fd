#include "widgets/label_look.h"

#include "widgets/label_props.h"

namespace widgets {

std::span<const TextPass> EffectPasses(std::int32_t effect) {
    static constexpr TextPass kNone[] = {{0, 0, Ink::Text}};
    static constexpr TextPass kWhiteShadowPasses[] = {{1, 1, Ink::White}, {0, 0, Ink::Text}};
    static constexpr TextPass kWhiteEngravePasses[] = {{0, 0, Ink::White}, {1, 1, Ink::Text}};
    static constexpr TextPass kBlackShadowPasses[] = {{2, 2, Ink::Black}, {0, 0, Ink::Text}};
    switch (ClampEffect(effect)) {
        case kWhiteShadow: return kWhiteShadowPasses;
        case kWhiteEngrave: return kWhiteEngravePasses;
        case kBlackShadow: return kBlackShadowPasses;
        default: return kNone;
    }
}

}  // namespace widgets
