#include "skin/comet_font_family.h"

#include "skin/skin_module.h"

namespace skin {
namespace {

using Held = GdipHolder<CometFontFamily>;

GpStatus CreateFromName(CometFontFamily* f, const char* name) {
    const WideBlob wide = ToWide(name ? name : "");
    return Held::Make(f, [&](GpFontFamily** out) {
        return sys::GdipCreateFontFamilyFromName(wide.text(), nullptr, out);
    });
}

const CometFontFamilyOps kOps{Held::kHead, CreateFromName, Held::GetHandle, Held::SetHandle};

}  // namespace

CometFontFamily::CometFontFamily() : HolderRecord(&kOps) {}
CometFontFamily::~CometFontFamily() { ops->destroy(this); }

}  // namespace skin
