#pragma once
// The skin engine's module: GDI+ start, its globals, and the free routines
// that compose a window's bitmap and push it to a layered window.
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "base/byte_blob.h"
#include "skin/comet_stream.h"
#include "skin/gdiplus_owners.h"
#include "skin/gdiplus_types.h"

namespace skin {

inline constexpr char kLoadDialogClass[] = "CometLoadDialog";
inline constexpr char kPropTime[] = "PngControl_Time";
inline constexpr char kPropBackImage[] = "PngControl_BackImage";
inline constexpr UINT_PTR kCaretTimerId = 64;

// An image decoded from memory and the stream it reads: the image goes first.
struct DecodedImage {
    CometStream stream;
    OwnedImage image;
};
using DecodedImages = std::map<GpImage*, std::unique_ptr<DecodedImage>>;

// Module-wide state, used on the UI thread only.
struct ModuleState {
    ULONG_PTR gdiplus_token = 0;
    OwnedBlock frame_dimension;  // 16-byte GUID buffer
    HWND focus_parent = nullptr;
    HWND focused_edit = nullptr;
    OwnedImage kept_bitmap;
    int caret_phase = 0;
    // Every image the engine decoded, the splash too: from InitSkinModule
    // until EndSkinModule, which the exit sequence runs before it lets the
    // graphics library go.
    std::optional<DecodedImages> decoded;
    // Observation counters for tests: compositions made, bitmaps pushed,
    // and whether the last push drew the caret.
    unsigned compositions = 0;
    unsigned pushes = 0;
    bool last_push_caret = false;
};
ModuleState& Module();

void InitSkinModule();
// The shell's exit callback: disposes of the kept bitmap and every decoded
// image with its memory, and frees the frame-dimension buffer.
void EndSkinModule();

// A heap ByteBlob of UTF-16 text with its terminating zero unit.
class WideBlob {
public:
    explicit WideBlob(std::size_t bytes);
    const ByteBlob* blob() const { return reinterpret_cast<const ByteBlob*>(storage_.data()); }
    const wchar_t* text() const { return reinterpret_cast<const wchar_t*>(storage_.data() + 8); }
    wchar_t* text() { return reinterpret_cast<wchar_t*>(storage_.data() + 8); }

private:
    std::vector<std::uint8_t> storage_;
};
// GBK text to UTF-16, terminator kept: the drawable length is bytes / 2 - 1.
WideBlob ToWide(const char* text);

// Decodes an image file held in memory; null when no codec takes it or the
// module is not running. The memory behind the image lives until
// DisposeImage or EndSkinModule.
GpImage* LoadImageFromBytes(const ByteBlob* bytes);
// Disposes of any GDI+ image; one the engine decoded takes its memory along.
void DisposeImage(GpImage* image);

// Builds the window's bitmap (background scaled to the window, then its PNG
// controls) and pushes it.
void ComposeWindow(HWND window);
// The composing half alone: a window-sized ARGB bitmap the caller disposes.
GpImage* ComposeBitmap(HWND window);
void PushLayered(HWND window, GpImage* image, bool draw_caret);

// The pixels PushLayered hands to the system: a 32-bit bottom-up DIB section
// selected into a memory DC, released with the object.
class LayeredSource {
public:
    LayeredSource(HDC reference, int width, int height);

    HDC dc() const { return dc_.get(); }
    // Premultiplied BGRA of pixel (x, y), top-left origin.
    std::uint32_t Pixel(int x, int y) const;

private:
    int width_, height_;
    void* bits_ = nullptr;
    // Undone in reverse: the selection, the section, the DC.
    OwnedMemoryDc dc_;
    OwnedDibSection section_;
    DcSelection selection_;
};
// Draws `image` at its own size to the top-left of a window-sized source;
// with `draw_caret`, the focused edit box's caret of `window` over it.
void RenderLayered(LayeredSource& target, GpImage* image, bool draw_caret, HWND window = nullptr);

}  // namespace skin
