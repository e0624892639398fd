#pragma once
// A property value as reads and writes carry it: a number or 8-bit text
// (byte fields such as pictures and fonts travel as text too). The same type
// as base::PropertyValue, spelled here so the portable code needs no
// <windows.h>.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace widgets {

using PropValue = std::variant<std::int32_t, std::string>;
using Bytes = std::vector<std::uint8_t>;

inline const std::int32_t* AsNumber(const PropValue& v) { return std::get_if<std::int32_t>(&v); }
inline const std::string* AsText(const PropValue& v) { return std::get_if<std::string>(&v); }
// A read's answer, built in place.
inline std::optional<PropValue> NumberValue(std::int32_t n) { return std::optional<PropValue>(std::in_place, n); }
inline std::optional<PropValue> TextValue(std::string s) {
    return std::optional<PropValue>(std::in_place, std::move(s));
}

inline std::string TextFromBytes(const Bytes& b) { return std::string(b.begin(), b.end()); }
inline Bytes BytesFromText(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace widgets
