#pragma once
// CometFontFamily: holds one GDI+ font family (0 when empty).
#include <memory>

#include "skin/gdiplus_draw_types.h"

namespace skin {

struct CometFontFamily;

// Operations in their fixed order.
struct CometFontFamilyOps {
    void (*destroy)(CometFontFamily*);
    std::unique_ptr<CometFontFamily> (*copy)(const CometFontFamily*);
    void (*Release)(CometFontFamily*);
    GpStatus (*CreateFromName)(CometFontFamily*, const char* name);  // GBK name
    GpFontFamily* (*GetHandle)(const CometFontFamily*);
    void (*SetHandle)(CometFontFamily*, GpFontFamily*);
};

struct CometFontFamily {
    const CometFontFamilyOps* ops;
    GpFontFamily* handle = nullptr;

    CometFontFamily();
    ~CometFontFamily();
    CometFontFamily(const CometFontFamily&) = delete;
    CometFontFamily& operator=(const CometFontFamily&) = delete;

    std::unique_ptr<CometFontFamily> copy() const { return ops->copy(this); }
    void Release() { ops->Release(this); }
    GpStatus CreateFromName(const char* name) { return ops->CreateFromName(this, name); }
    GpFontFamily* GetHandle() const { return ops->GetHandle(this); }
    void SetHandle(GpFontFamily* h) { ops->SetHandle(this, h); }
};

}  // namespace skin
