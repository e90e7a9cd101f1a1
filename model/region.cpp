#include "model/region.h"

#include <cmath>

namespace verrane::model {

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
