#pragma once
// CometWindow: the engine object, attached to one top-level window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>

#include "base/byte_blob.h"
#include "skin/gdiplus_types.h"

namespace skin {

struct CometWindow;

// Operations in their fixed order.
struct CometWindowOps {
    void (*destroy)(CometWindow*);
    std::unique_ptr<CometWindow> (*copy)(const CometWindow*);
    bool (*Attach)(CometWindow*, HWND window);
    bool (*SetBackImage)(CometWindow*, GpImage* image);
    bool (*LoadBackImage)(CometWindow*, const ByteBlob* bytes);
    void (*SkinControls)(CometWindow*);
    void (*Move)(CometWindow*, std::optional<std::int32_t> left, std::optional<std::int32_t> top,
                 std::optional<std::int32_t> width, std::optional<std::int32_t> height, bool no_redraw);
    HWND (*GetHandle)(const CometWindow*);
    bool (*IsValid)(const CometWindow*);
    void (*Send)(CometWindow*, UINT message, WPARAM w, LPARAM l);
};

struct CometWindow {
    const CometWindowOps* ops;
    HWND window = nullptr;

    CometWindow();

    void destroy() { ops->destroy(this); }
    std::unique_ptr<CometWindow> copy() const { return ops->copy(this); }
    bool Attach(HWND h) { return ops->Attach(this, h); }
    bool SetBackImage(GpImage* image) { return ops->SetBackImage(this, image); }
    bool LoadBackImage(const ByteBlob* bytes) { return ops->LoadBackImage(this, bytes); }
    void SkinControls() { ops->SkinControls(this); }
    void Move(std::optional<std::int32_t> left = {}, std::optional<std::int32_t> top = {},
              std::optional<std::int32_t> width = {}, std::optional<std::int32_t> height = {},
              bool no_redraw = false) {
        ops->Move(this, left, top, width, height, no_redraw);
    }
    HWND GetHandle() const { return ops->GetHandle(this); }
    bool IsValid() const { return ops->IsValid(this); }
    void Send(UINT message, WPARAM w, LPARAM l) { ops->Send(this, message, w, l); }
};

}  // namespace skin
