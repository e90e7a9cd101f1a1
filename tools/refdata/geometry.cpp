#include <algorithm>
#include <cmath>
#include <limits>

#include "refdata.h"

namespace refdata {

double signed_area(const Ring& r) {
    double s = 0;
    for (size_t i = 0, n = r.size(); i < n; ++i) {
        const Pt& a = r[i];
        const Pt& b = r[(i + 1) % n];
        s += a.x * b.y - b.x * a.y;
    }
    return s / 2;
}

double area(const MultiPolygon& m) {
    double s = 0;
    for (const Polygon& p : m)
        for (size_t i = 0; i < p.rings.size(); ++i) s += (i == 0 ? 1 : -1) * std::fabs(signed_area(p.rings[i]));
    return s;
}

Pt centroid(const MultiPolygon& m) {
    double ax = 0, ay = 0, as = 0;
    for (const Polygon& p : m) {
        for (size_t k = 0; k < p.rings.size(); ++k) {
            const Ring& r = p.rings[k];
            // Orient each ring's contribution: outer adds, holes subtract.
            double sa = signed_area(r);
            if (sa == 0) continue;
            double sign = (k == 0 ? 1.0 : -1.0) * (sa > 0 ? 1.0 : -1.0);
            double cx = 0, cy = 0;
            for (size_t i = 0, n = r.size(); i < n; ++i) {
                const Pt& a = r[i];
                const Pt& b = r[(i + 1) % n];
                double c = a.x * b.y - b.x * a.y;
                cx += (a.x + b.x) * c;
                cy += (a.y + b.y) * c;
            }
            // cx / (6 sa) is the ring's centroid; weight by |area|.
            ax += sign * cx / 6;
            ay += sign * cy / 6;
            as += sign * sa;
        }
    }
    if (as == 0) {
        Box b = extent(m);
        return {(b.left + b.right) / 2, (b.bottom + b.top) / 2};
    }
    return {ax / as, ay / as};
}

Box extent(const MultiPolygon& m) {
    double inf = std::numeric_limits<double>::infinity();
    Box b{inf, -inf, inf, -inf};
    for (const Polygon& p : m)
        for (const Ring& r : p.rings)
            for (const Pt& q : r) {
                b.left = std::min(b.left, q.x);
                b.right = std::max(b.right, q.x);
                b.bottom = std::min(b.bottom, q.y);
                b.top = std::max(b.top, q.y);
            }
    if (b.left > b.right) b = Box{};
    return b;
}

bool contains(const MultiPolygon& m, Pt p) {
    bool in = false;
    for (const Polygon& poly : m)
        for (const Ring& r : poly.rings)
            for (size_t i = 0, n = r.size(), j = n - 1; i < n; j = i++) {
                const Pt& a = r[i];
                const Pt& b = r[j];
                if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
            }
    return in;
}

static double cross(Pt o, Pt a, Pt b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

static bool on_segment(Pt a, Pt b, Pt p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

bool segments_intersect(Pt a, Pt b, Pt c, Pt d) {
    double d1 = cross(c, d, a), d2 = cross(c, d, b), d3 = cross(a, b, c), d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    if (d1 == 0 && on_segment(c, d, a)) return true;
    if (d2 == 0 && on_segment(c, d, b)) return true;
    if (d3 == 0 && on_segment(a, b, c)) return true;
    if (d4 == 0 && on_segment(a, b, d)) return true;
    return false;
}

bool track_hits(const MultiPolygon& m, const Box& box, Pt a, Pt b) {
    if (std::max(a.x, b.x) < box.left || std::min(a.x, b.x) > box.right || std::max(a.y, b.y) < box.bottom ||
        std::min(a.y, b.y) > box.top)
        return false;
    if (contains(m, a) || contains(m, b)) return true;
    if (a.x == b.x && a.y == b.y) return false;
    for (const Polygon& poly : m)
        for (const Ring& r : poly.rings)
            for (size_t i = 0, n = r.size(), j = n - 1; i < n; j = i++)
                if (segments_intersect(a, b, r[j], r[i])) return true;
    return false;
}

static double point_segment(Pt p, Pt a, Pt b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0.0;
    double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return std::sqrt(ex * ex + ey * ey);
}

double track_distance(const MultiPolygon& m, Pt a, Pt b) {
    if (contains(m, a) || contains(m, b)) return 0;
    double best = std::numeric_limits<double>::infinity();
    for (const Polygon& poly : m)
        for (const Ring& r : poly.rings)
            for (size_t i = 0, n = r.size(), j = n - 1; i < n; j = i++) {
                if (segments_intersect(a, b, r[j], r[i])) return 0;
                best = std::min(
                    {best, point_segment(a, r[j], r[i]), point_segment(b, r[j], r[i]), point_segment(r[i], a, b)});
            }
    return best;
}

// ------------------------------------------------------------ projection

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kA = 6378137.0;         // GRS 80 semi-major axis, m
constexpr double kE2 = 0.0066943800229;  // GRS 80 first eccentricity squared
constexpr double kMetresPerMile = 1609.344;

double q_of(double phi) {
    double e = std::sqrt(kE2), s = std::sin(phi);
    return (1 - kE2) * (s / (1 - kE2 * s * s) - (1 / (2 * e)) * std::log((1 - e * s) / (1 + e * s)));
}
double m_of(double phi) {
    double s = std::sin(phi);
    return std::cos(phi) / std::sqrt(1 - kE2 * s * s);
}
}  // namespace

// The 48 states use the usual national parallels (scale within 1.4 % from the
// Keys to the Canadian border); the other regions get parallels at about one
// sixth and five sixths of their latitude span (Alaska within 1.4 %, the
// islands within 0.2 %). Offsets keep at least 1,000 miles between the
// regions (check mode verifies it).
const Albers& projection_of(Region r) {
    static const Albers conus{-96, 23, 29.5, 45.5, 0, 0};
    static const Albers alaska{-154, 50, 54.6, 68, -4000, 1800};
    static const Albers hawaii{-157, 3, 19.45, 21.65, -3500, -1500};
    static const Albers caribbean{-66, 18, 17.8, 18.4, 3000, -500};
    static const Albers marianas{145.5, 13, 14.2, 19.5, -6500, -1500};
    static const Albers samoa{-170, -14.25, -14.1, -14.4, -5000, -3500};
    switch (r) {
        case Region::Conus:
            return conus;
        case Region::Alaska:
            return alaska;
        case Region::Hawaii:
            return hawaii;
        case Region::Caribbean:
            return caribbean;
        case Region::Marianas:
            return marianas;
        case Region::Samoa:
            return samoa;
    }
    return conus;
}

Region region_of_state(int s) {
    switch (s) {
        case 2:
            return Region::Alaska;
        case 15:
            return Region::Hawaii;
        case 72:
        case 78:
            return Region::Caribbean;
        case 66:
        case 69:
            return Region::Marianas;
        case 60:
            return Region::Samoa;
        default:
            return Region::Conus;
    }
}

Pt project(Region r, LonLat ll) {
    const Albers& p = projection_of(r);
    double lon = ll.lon;
    if (r == Region::Alaska && lon > 0) lon -= 360;
    double d = kPi / 180;
    double phi1 = p.lat1 * d, phi2 = p.lat2 * d, phi0 = p.lat0 * d;
    double m1 = m_of(phi1), m2 = m_of(phi2);
    double q1 = q_of(phi1), q2 = q_of(phi2), q0 = q_of(phi0);
    double n = (m1 * m1 - m2 * m2) / (q2 - q1);
    double C = m1 * m1 + n * q1;
    double rho0 = kA * std::sqrt(C - n * q0) / n;
    double rho = kA * std::sqrt(C - n * q_of(ll.lat * d)) / n;
    double theta = n * (lon - p.lon0) * d;
    double x = rho * std::sin(theta), y = rho0 - rho * std::cos(theta);
    return {x / kMetresPerMile + p.false_easting, y / kMetresPerMile + p.false_northing};
}

}  // namespace refdata
