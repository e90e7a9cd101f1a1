#include "model/rounding.h"

#include <stdexcept>
#include <string>

namespace verrane::model {

int16_t ToInt16HalfEven(double x) {
    const double r = RoundHalfEven(x);
    if (!(r >= -32768.0 && r <= 32767.0))
        throw std::overflow_error("Overflow: " + std::to_string(x) + " does not fit a 16-bit integer.");
    return static_cast<int16_t>(r);
}

}  // namespace verrane::model
