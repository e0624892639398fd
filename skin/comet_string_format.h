#pragma once
// CometStringFormat: holds one GDI+ string format (0 when empty).
#include "skin/holder.h"

namespace skin {

struct CometStringFormat;

// Operations in their fixed order, after destroy, copy and Release.
struct CometStringFormatOps : HolderOps<CometStringFormat> {
    GpStatus (*Create)(CometStringFormat*, INT flags, LANGID language);
    GpStatus (*SetAlign)(CometStringFormat*, INT alignment);
    GpStatus (*SetLineAlign)(CometStringFormat*, INT alignment);
    GpStatus (*SetAlignment)(CometStringFormat*, INT alignment, INT line_alignment);
    void (*SetHandle)(CometStringFormat*, GpStringFormat*);
    GpStringFormat* (*GetHandle)(const CometStringFormat*);
};

struct CometStringFormat : HolderRecord<CometStringFormat, CometStringFormatOps> {
    OwnedStringFormat handle;

    CometStringFormat();
    ~CometStringFormat();

    GpStatus Create(INT flags, LANGID language) { return ops->Create(this, flags, language); }
    GpStatus SetAlign(INT a) { return ops->SetAlign(this, a); }
    GpStatus SetLineAlign(INT a) { return ops->SetLineAlign(this, a); }
    GpStatus SetAlignment(INT a, INT line) { return ops->SetAlignment(this, a, line); }
    void SetHandle(GpStringFormat* h) { ops->SetHandle(this, h); }
    GpStringFormat* GetHandle() const { return ops->GetHandle(this); }
};

}  // namespace skin
