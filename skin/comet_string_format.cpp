#include "skin/comet_string_format.h"

#include "skin/foreign.h"

namespace skin {
namespace {

void Release(CometStringFormat* f) {
    if (f->handle) sys::GdipDeleteStringFormat(f->handle);
    f->handle = nullptr;
}

void Destroy(CometStringFormat* f) { Release(f); }

void SetHandle(CometStringFormat* f, GpStringFormat* h) {
    Release(f);
    f->handle = h;
}

std::unique_ptr<CometStringFormat> Copy(const CometStringFormat* f) {
    // A format of its own, so each record deletes only what it holds.
    auto c = std::make_unique<CometStringFormat>();
    GpStringFormat* clone = nullptr;
    if (f->handle && sys::GdipCloneStringFormat(f->handle, &clone) == kStatusOk) c->handle = clone;
    return c;
}

GpStatus Create(CometStringFormat* f, INT flags, LANGID language) {
    GpStringFormat* format = nullptr;
    const GpStatus status = sys::GdipCreateStringFormat(flags, language, &format);
    SetHandle(f, status == kStatusOk ? format : nullptr);
    return status;
}

GpStatus SetAlign(CometStringFormat* f, INT a) { return sys::GdipSetStringFormatAlign(f->handle, a); }
GpStatus SetLineAlign(CometStringFormat* f, INT a) { return sys::GdipSetStringFormatLineAlign(f->handle, a); }

GpStatus SetAlignment(CometStringFormat* f, INT a, INT line) {
    const GpStatus status = SetAlign(f, a);
    const GpStatus line_status = SetLineAlign(f, line);
    return status != kStatusOk ? status : line_status;
}

GpStringFormat* GetHandle(const CometStringFormat* f) { return f->handle; }

const CometStringFormatOps kOps{Destroy, Copy, Release, Create, SetAlign, SetLineAlign, SetAlignment, SetHandle,
                                GetHandle};

}  // namespace

CometStringFormat::CometStringFormat() : ops(&kOps) {}
CometStringFormat::~CometStringFormat() { ops->destroy(this); }

}  // namespace skin
