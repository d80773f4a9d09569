#pragma once
// The number rules every pixel and coordinate computation follows:
//  - floating values become integers by rounding to nearest, halves to the even neighbour;
//  - integer division truncates toward zero (C++'s own '/');
//  - Mod keeps the sign of the dividend (C++'s own '%');
//  - a conversion whose result does not fit raises Overflow.
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace orv {

struct Overflow : std::overflow_error {
    Overflow() : std::overflow_error("Overflow") {}
};

// Nearest integer, halves to even, as a double (no range check).
inline double RoundHalfEven(double v) { return std::nearbyint(v); }

// Conversion to a 16-bit signed integer, halves to even.
inline int16_t CInt(double v)
{
    const double r = RoundHalfEven(v);
    if (!(r >= -32768.0 && r <= 32767.0)) throw Overflow();
    return static_cast<int16_t>(r);
}

// Conversion to a 32-bit signed integer, halves to even.
inline int32_t CLng(double v)
{
    const double r = RoundHalfEven(v);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw Overflow();
    return static_cast<int32_t>(r);
}

// Integer division truncating toward zero ('\').
inline int32_t IntDiv(int32_t a, int32_t b)
{
    if (b == 0 || (a == INT32_MIN && b == -1)) throw Overflow();
    return a / b;
}

// Remainder with the sign of the dividend.
inline int32_t Mod(int32_t a, int32_t b)
{
    if (b == 0) throw Overflow();
    if (b == -1) return 0;
    return a % b;
}

} // namespace orv
