#include "model/rounding.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace verrane::model {

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  // Explicit rather than nearbyint: independent of the current rounding mode.
  const double f = std::floor(x);
  const double diff = x - f;
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1.0;
  return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}

int16_t ToInt16HalfEven(double x) {
  const double r = RoundHalfEven(x);
  if (!(r >= -32768.0 && r <= 32767.0))
    throw std::overflow_error("Overflow: " + std::to_string(x) + " does not fit a 16-bit integer.");
  return static_cast<int16_t>(r);
}

}  // namespace verrane::model
