#include "skin/comet_string_format.h"

namespace skin {
namespace {

using Held = GdipHolder<CometStringFormat>;

GpStatus Create(CometStringFormat* f, INT flags, LANGID language) {
    return Held::Make(f, [&](GpStringFormat** out) { return sys::GdipCreateStringFormat(flags, language, out); });
}

GpStatus SetAlign(CometStringFormat* f, INT a) { return sys::GdipSetStringFormatAlign(f->handle.get(), a); }
GpStatus SetLineAlign(CometStringFormat* f, INT a) { return sys::GdipSetStringFormatLineAlign(f->handle.get(), a); }

GpStatus SetAlignment(CometStringFormat* f, INT a, INT line) {
    const GpStatus status = SetAlign(f, a);
    const GpStatus line_status = SetLineAlign(f, line);
    return status != kStatusOk ? status : line_status;
}

const CometStringFormatOps kOps{Held::kHead, Create,          SetAlign,       SetLineAlign,
                                SetAlignment, Held::SetHandle, Held::GetHandle};

}  // namespace

CometStringFormat::CometStringFormat() : HolderRecord(&kOps) {}
CometStringFormat::~CometStringFormat() { ops->destroy(this); }

}  // namespace skin
