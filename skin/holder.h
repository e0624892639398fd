#pragma once
// The holder classes' one shape: a record whose first field points to its
// table of operations, a table that always begins destroy, copy, Release.
// Each class lists the rest of its table itself, in its fixed order.
#include <memory>
#include <type_traits>
#include <utility>

#include "skin/gdiplus_owners.h"

namespace skin {

template <class Self>
struct HolderOps {
    void (*destroy)(Self*);
    std::unique_ptr<Self> (*copy)(const Self*);
    void (*Release)(Self*);
};

// The record's head: the table pointer and the calls every holder answers.
template <class Self, class Ops>
struct HolderRecord {
    const Ops* ops;

    explicit HolderRecord(const Ops* table) : ops(table) {}
    ~HolderRecord() = default;
    HolderRecord(const HolderRecord&) = delete;
    HolderRecord& operator=(const HolderRecord&) = delete;

    std::unique_ptr<Self> copy() const { return ops->copy(self()); }
    void Release() { ops->Release(self()); }

protected:
    Self* self() { return static_cast<Self*>(this); }
    const Self* self() const { return static_cast<const Self*>(this); }
};

// Operations of a holder of one owned GDI+ object (its field `handle`):
// destroy runs Release, SetHandle lets the old object go before it keeps the
// new one, and copy clones the object, so each record frees only its own.
template <class Self>
struct GdipHolder {
    using Handle = decltype(std::declval<Self&>().handle.get());

    static void Release(Self* s) { s->handle.reset(); }
    static void Destroy(Self* s) { s->ops->Release(s); }
    static void SetHandle(Self* s, Handle h) {
        s->ops->Release(s);
        s->handle.reset(h);
    }
    static Handle GetHandle(const Self* s) { return s->handle.get(); }
    static std::unique_ptr<Self> Copy(const Self* s) {
        auto c = std::make_unique<Self>();
        Handle clone = nullptr;
        if (s->handle && gdip::Clone(s->handle.get(), &clone) == kStatusOk) c->handle.reset(clone);
        return c;
    }
    // Runs a create call into a fresh slot and keeps what it made, or
    // nothing when it failed; returns the call's status.
    template <class Create>
    static GpStatus Make(Self* s, Create create) {
        std::remove_cvref_t<decltype(s->handle)> made;
        const GpStatus status = create(made.put());
        SetHandle(s, status == kStatusOk ? made.release() : nullptr);
        return status;
    }
    static constexpr HolderOps<Self> kHead{Destroy, Copy, Release};
};

}  // namespace skin
