#pragma once
// Owners of the short-lived GDI+ brushes and pens used while drawing.
#include "skin/foreign.h"
#include "skin/gdiplus_draw_types.h"

namespace skin {

class SolidBrush {
public:
    explicit SolidBrush(ARGB colour) { sys::GdipCreateSolidFill(colour, &fill_); }
    ~SolidBrush() {
        if (fill_) sys::GdipDeleteBrush(get());
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    GpBrush* get() const { return reinterpret_cast<GpBrush*>(fill_); }

private:
    GpSolidFill* fill_ = nullptr;
};

class Pen {
public:
    Pen(ARGB colour, REAL width, INT unit) { sys::GdipCreatePen1(colour, width, unit, &pen_); }
    ~Pen() {
        if (pen_) sys::GdipDeletePen(pen_);
    }
    Pen(const Pen&) = delete;
    Pen& operator=(const Pen&) = delete;
    GpPen* get() const { return pen_; }

private:
    GpPen* pen_ = nullptr;
};

}  // namespace skin
