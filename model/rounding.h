#pragma once
// Rounding shared by every numeric conversion of the model: the host's
// 16-bit conversions round halves to the even neighbour and fail on overflow.
#include <cstdint>

namespace verrane::model {

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// NaN and infinities come back unchanged.
double RoundHalfEven(double x);

// Halves to even, then range-checked: throws std::overflow_error outside
// -32768..32767 and for NaN.
int16_t ToInt16HalfEven(double x);

}  // namespace verrane::model
