#include "skin/comet_font_family.h"

#include "skin/foreign.h"
#include "skin/skin_module.h"

namespace skin {
namespace {

void Release(CometFontFamily* f) {
    if (f->handle) sys::GdipDeleteFontFamily(f->handle);
    f->handle = nullptr;
}

void Destroy(CometFontFamily* f) { Release(f); }

void SetHandle(CometFontFamily* f, GpFontFamily* h) {
    Release(f);
    f->handle = h;
}

std::unique_ptr<CometFontFamily> Copy(const CometFontFamily* f) {
    // A family of its own, so each record deletes only what it holds.
    auto c = std::make_unique<CometFontFamily>();
    GpFontFamily* clone = nullptr;
    if (f->handle && sys::GdipCloneFontFamily(f->handle, &clone) == kStatusOk) c->handle = clone;
    return c;
}

GpStatus CreateFromName(CometFontFamily* f, const char* name) {
    const WideBlob wide = ToWide(name ? name : "");
    GpFontFamily* family = nullptr;
    const GpStatus status = sys::GdipCreateFontFamilyFromName(wide.text(), nullptr, &family);
    SetHandle(f, status == kStatusOk ? family : nullptr);
    return status;
}

GpFontFamily* GetHandle(const CometFontFamily* f) { return f->handle; }

const CometFontFamilyOps kOps{Destroy, Copy, Release, CreateFromName, GetHandle, SetHandle};

}  // namespace

CometFontFamily::CometFontFamily() : ops(&kOps) {}
CometFontFamily::~CometFontFamily() { ops->destroy(this); }

}  // namespace skin
