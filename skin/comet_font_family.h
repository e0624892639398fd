#pragma once
// CometFontFamily: holds one GDI+ font family (0 when empty).
#include "skin/holder.h"

namespace skin {

struct CometFontFamily;

// Operations in their fixed order, after destroy, copy and Release.
struct CometFontFamilyOps : HolderOps<CometFontFamily> {
    GpStatus (*CreateFromName)(CometFontFamily*, const char* name);  // GBK name
    GpFontFamily* (*GetHandle)(const CometFontFamily*);
    void (*SetHandle)(CometFontFamily*, GpFontFamily*);
};

struct CometFontFamily : HolderRecord<CometFontFamily, CometFontFamilyOps> {
    OwnedFontFamily handle;

    CometFontFamily();
    ~CometFontFamily();

    GpStatus CreateFromName(const char* name) { return ops->CreateFromName(this, name); }
    GpFontFamily* GetHandle() const { return ops->GetHandle(this); }
    void SetHandle(GpFontFamily* h) { ops->SetHandle(this, h); }
};

}  // namespace skin
