#include "platform/map.h"
// Searches of a layer: by attribute expression, by distance, by point.

#include <cctype>
#include <cmath>
#include <limits>

#include "platform/map_detail.h"

namespace verrane::platform {

namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// SQL LIKE without regard to case: % matches any run, _ one character.
bool likeMatch(std::string_view text, std::string_view pattern) {
    size_t t = 0, p = 0, starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && (pattern[p] == '_' || lower(pattern[p]) == lower(text[t]))) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%') ++p;
    return p == pattern.size();
}

struct Expression {
    std::string field;
    bool like = false;
    std::string literal;
};

Expression parseExpression(std::string_view e, const std::string& layerName) {
    auto fail = [&]() -> MapError {
        return MapError("Cannot search the map layer " + layerName + " with \"" + std::string(e) +
                        "\": expected FIELD Like '...' or FIELD = '...'.");
    };
    size_t i = 0;
    auto skip = [&] {
        while (i < e.size() && std::isspace(static_cast<unsigned char>(e[i]))) ++i;
    };
    auto word = [&](size_t at) {
        return at < e.size() && (std::isalnum(static_cast<unsigned char>(e[at])) || e[at] == '_');
    };
    Expression x;
    skip();
    if (i < e.size() && e[i] == '[') {
        const size_t close = e.find(']', i);
        if (close == std::string_view::npos) throw fail();
        x.field = std::string(e.substr(i + 1, close - i - 1));
        i = close + 1;
    } else {
        while (word(i)) x.field += e[i++];
    }
    if (x.field.empty()) throw fail();
    skip();
    if (i < e.size() && e[i] == '=') {
        ++i;
    } else if (i + 4 <= e.size() && detail::iequals(e.substr(i, 4), "like") && !word(i + 4)) {
        x.like = true;
        i += 4;
    } else {
        throw fail();
    }
    skip();
    if (i >= e.size() || e[i] != '\'') throw fail();
    ++i;
    for (;;) {
        if (i >= e.size()) throw fail();
        if (e[i] == '\'') {
            if (i + 1 < e.size() && e[i + 1] == '\'') {
                x.literal += '\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        x.literal += e[i++];
    }
    skip();
    if (i != e.size()) throw fail();
    return x;
}

double squaredDistanceToSegment(MapPoint p, MapPoint a, MapPoint b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

// Even-odd over all rings, so holes are left out.
bool polygonContains(const std::vector<std::vector<MapPoint>>& rings, MapPoint p) {
    bool inside = false;
    for (const auto& ring : rings) {
        const size_t n = ring.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const MapPoint& a = ring[i];
            const MapPoint& b = ring[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
    }
    return inside;
}

}  // namespace

std::vector<int> MapLayer::SearchExpression(std::string_view expression) const {
    const Expression x = parseExpression(expression, path_.string());
    const int f = fieldIndex(x.field);
    if (f < 0)
        throw MapError("Cannot search the map layer " + path_.string() + ": it has no field named " + x.field + ".");
    std::vector<int> found;
    for (int r = 0; r < recordCount(); ++r) {
        const std::string& v = contents_->attributes[static_cast<size_t>(r)][static_cast<size_t>(f)];
        if (x.like ? likeMatch(v, x.literal) : v == x.literal) found.push_back(r);
    }
    return found;
}

namespace {

// Squared distance from p to the shape's outline, line or points (0 inside
// a polygon). Stops early once the distance is known to be within enough.
double squaredDistanceTo(const MapLayer::Shape& s, MapShapeKind kind, MapPoint p, double enough) {
    if (kind == MapShapeKind::Polygon && polygonContains(s.parts, p)) return 0;
    double best = std::numeric_limits<double>::infinity();
    for (const auto& part : s.parts) {
        if (kind == MapShapeKind::Point) {
            for (const MapPoint& q : part) best = std::min(best, (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y));
        } else {
            if (part.size() == 1) best = std::min(best, squaredDistanceToSegment(p, part[0], part[0]));
            for (size_t v = 1; v < part.size(); ++v)
                best = std::min(best, squaredDistanceToSegment(p, part[v - 1], part[v]));
            if (kind == MapShapeKind::Polygon && part.size() > 2)
                best = std::min(best, squaredDistanceToSegment(p, part.back(), part.front()));
        }
        if (best <= enough) break;
    }
    return best;
}

void checkSearchPoint(MapPoint p, double distance, const std::filesystem::path& layer) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::isnan(distance))
        throw MapError("Cannot search the map layer " + layer.string() + " around a point that is not a number.");
}

MapRect widened(const MapRect& r, double d) { return {r.left - d, r.right + d, r.bottom - d, r.top + d}; }

}  // namespace

std::vector<int> MapLayer::SearchByDistance(MapPoint p, double distance) const {
    checkSearchPoint(p, distance, path_);
    const double d = std::max(0.0, distance);
    const double d2 = d * d;
    std::vector<int> found;
    for (int r = 0; r < recordCount(); ++r) {
        const Shape& s = contents_->shapes[static_cast<size_t>(r)];
        if (s.parts.empty() || !widened(s.bounds, d).contains(p)) continue;
        if (squaredDistanceTo(s, kind_, p, d2) <= d2) found.push_back(r);
    }
    return found;
}

int MapLayer::ShapeAt(MapPoint p, double tolerance) const {
    checkSearchPoint(p, tolerance, path_);
    if (kind_ == MapShapeKind::Polygon)
        for (int r = recordCount() - 1; r >= 0; --r) {
            const Shape& s = contents_->shapes[static_cast<size_t>(r)];
            if (!s.parts.empty() && s.bounds.contains(p) && polygonContains(s.parts, p)) return r;
        }
    const double d = std::max(0.0, tolerance);
    double best = d * d;
    int nearest = -1;
    for (int r = 0; r < recordCount(); ++r) {
        const Shape& s = contents_->shapes[static_cast<size_t>(r)];
        if (s.parts.empty() || !widened(s.bounds, d).contains(p)) continue;
        const double d2 = squaredDistanceTo(s, kind_, p, 0);
        if (d2 < best || (nearest < 0 && d2 <= best)) {
            best = d2;
            nearest = r;
        }
    }
    return nearest;
}

}  // namespace verrane::platform
