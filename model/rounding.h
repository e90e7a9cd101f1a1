#pragma once
// Rounding shared by every numeric conversion of the model: the host's
// 16-bit conversions round halves to the even neighbour and fail on overflow.
#include <cmath>
#include <cstdint>

namespace verrane::model {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// NaN and infinities come back unchanged. Inline so that the number
// conversions of platform/ share it without linking the model.
inline double RoundHalfEven(double x) {
    if (!std::isfinite(x)) return x;
    // Explicit rather than nearbyint: independent of the current rounding mode.
    const double f = std::floor(x);
    const double diff = x - f;
    if (diff < 0.5) return f;
    if (diff > 0.5) return f + 1.0;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

// Halves to even, then range-checked: throws std::overflow_error outside
// -32768..32767 and for NaN.
int16_t ToInt16HalfEven(double x);

}  // namespace verrane::model
