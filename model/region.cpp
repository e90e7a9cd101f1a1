#include "model/region.h"

#include <algorithm>
#include <cmath>

#include "model/rounding.h"

namespace verrane::model {

int SliderMiles(double storedRadius) {
    const double r = RoundHalfEven(storedRadius);
    if (!std::isfinite(r)) return 0;
    return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(kMaxRadiusMiles)));
}

bool WithinRadius(const CountyExtent& c, double x0, double y0, double r) {
    const double left = x0 - r, right = x0 + r, bottom = y0 - r, top = y0 + r;
    // The box test spares the distances of counties far outside the square.
    if (!(c.left <= right && c.right >= left && c.top >= bottom && c.bottom <= top)) return false;
    const double xs[5] = {c.x, c.left, c.right, c.right, c.left};
    const double ys[5] = {c.y, c.bottom, c.top, c.bottom, c.top};
    for (int k = 0; k < 5; ++k) {
        const double dx = xs[k] - x0, dy = ys[k] - y0;
        if (std::sqrt(dx * dx + dy * dy) <= r) return true;
    }
    return false;
}

}  // namespace verrane::model
