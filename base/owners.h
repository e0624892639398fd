#pragma once
// Owners for every handle the program opens: each is move-only (a COM
// pointer copies by taking a reference) and lets its handle go once, on
// every path. Lifetimes the program's rules fix stay as they are: GDI+ is
// started once and never shut down; constant data is never freed.
#include <utility>

namespace base {

// One handle of a kind that Traits describes:
//   using Handle = ...;  static Handle None();  static void Free(Handle);
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::None())) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, Traits::None());
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::None(); }
    // Resetting to the handle already held keeps it: freeing it would leave
    // the owner holding a dead handle that it frees again later.
    void reset(Handle h = Traits::None()) {
        if (h == h_) return;
        if (h_ != Traits::None()) Traits::Free(h_);
        h_ = h;
    }
    Handle release() { return std::exchange(h_, Traits::None()); }
    // For an out-parameter: lets go of what is held and lends the slot.
    Handle* put() {
        reset();
        return &h_;
    }

private:
    Handle h_ = Traits::None();
};

}  // namespace base

#ifdef _WIN32
#include <windows.h>
#include <ole2.h>

namespace base {

// Handles whose "none" is null, let go by one system call.
template <class H, auto FreeFn>
struct NullHandleTraits {
    using Handle = H;
    static Handle None() { return nullptr; }
    static void Free(Handle h) { FreeFn(h); }
};
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }  // CreateFile's "none"
    static void Free(Handle h) { CloseHandle(h); }
};

using OwnedHandle = Owned<NullHandleTraits<HANDLE, &CloseHandle>>;  // threads, events
using OwnedFile = Owned<FileHandleTraits>;
template <class H>
using GdiObject = Owned<NullHandleTraits<H, &DeleteObject>>;
using OwnedFont = GdiObject<HFONT>;
using OwnedHook = Owned<NullHandleTraits<HHOOK, &UnhookWindowsHookEx>>;
using OwnedBstr = Owned<NullHandleTraits<BSTR, &SysFreeString>>;

// Selects an object into a DC and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint and EndPaint as one pair.
class PaintScope {
public:
    explicit PaintScope(HWND h) : h_(h), dc_(BeginPaint(h, &ps_)) {}
    ~PaintScope() { EndPaint(h_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND h_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An owning COM interface pointer: one reference, released with the owner.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to `p`.
    explicit ComPtr(T* p) : p_(p) {
        if (p_) p_->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference the caller already holds (an out-parameter's).
    static ComPtr Adopt(T* p) {
        ComPtr c;
        c.p_ = p;
        return c;
    }

    void reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }
    // For an out-parameter: releases what is held and lends the slot.
    T** put() {
        reset();
        return &p_;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // QueryInterface; null when the object does not provide U.
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> out;
        if (p_ && FAILED(p_->QueryInterface(__uuidof(U), out.put_void()))) out.reset();
        return out;
    }

private:
    T* p_ = nullptr;
};

}  // namespace base
#endif
