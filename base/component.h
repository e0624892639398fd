#pragma once
// Base of every live window and component: what the shell's look-ups return.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

namespace base {

using PropertyValue = std::variant<std::int32_t, std::string>;

class UnitObject {
public:
    UnitObject(std::uint32_t window_id, std::uint32_t unit_id) : window_id_(window_id), unit_id_(unit_id) {}
    virtual ~UnitObject() = default;
    UnitObject(const UnitObject&) = delete;
    UnitObject& operator=(const UnitObject&) = delete;

    HWND hwnd() const { return hwnd_; }
    std::uint32_t window_id() const { return window_id_; }
    std::uint32_t unit_id() const { return unit_id_; }

protected:
    HWND hwnd_ = nullptr;
    std::uint32_t window_id_;
    std::uint32_t unit_id_;
};

// A component of a window. Kept alive by shared_ptr so a window procedure
// whose event action destroys the window (a timer opening the board) can hold
// it until it has returned.
class Component : public UnitObject, public std::enable_shared_from_this<Component> {
public:
    using UnitObject::UnitObject;

    // A class property (index 8 and above); false when the kind has no such
    // property or the value is of the wrong type.
    virtual bool SetProperty(int index, const PropertyValue& value) = 0;
    // A notification the parent window received from this child (WM_COMMAND).
    virtual void OnParentCommand(WORD /*code*/) {}
};

}  // namespace base
