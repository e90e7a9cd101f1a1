#include "platform/map.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <memory>

#include <QPainter>
#include <QPen>
#include <QTransform>

#include <shapefil.h>

namespace verrane::platform {

// ---------------------------------------------------------------- rectangles

MapRect MapRect::Union(const MapRect& a, const MapRect& b) {
    return {std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.bottom, b.bottom),
            std::max(a.top, b.top)};
}

MapRect MapRect::ScaledAboutCentre(double factor) const {
    const MapPoint c = centre();
    const double hw = width() / 2 * factor, hh = height() / 2 * factor;
    return {c.x - hw, c.x + hw, c.y - hh, c.y + hh};
}

// ------------------------------------------------------------------ renderer

void ValueMapRenderer::setValueCount(int n) {
    if (n < 0) throw MapError("The number of renderer values cannot be negative (" + std::to_string(n) + ").");
    values_.resize(static_cast<size_t>(n));
    symbols_.resize(static_cast<size_t>(n));
    indexValid_ = false;
}

void ValueMapRenderer::check(int i) const {
    if (i < 0 || i >= valueCount())
        throw MapError("Renderer value " + std::to_string(i) + " does not exist: the renderer has " +
                       std::to_string(valueCount()) + " values.");
}

void ValueMapRenderer::setValue(int i, std::string text) {
    check(i);
    values_[static_cast<size_t>(i)] = std::move(text);
    indexValid_ = false;
}

const std::string& ValueMapRenderer::value(int i) const {
    check(i);
    return values_[static_cast<size_t>(i)];
}

MapSymbol& ValueMapRenderer::symbol(int i) {
    check(i);
    return symbols_[static_cast<size_t>(i)];
}

const MapSymbol& ValueMapRenderer::symbol(int i) const {
    check(i);
    return symbols_[static_cast<size_t>(i)];
}

int ValueMapRenderer::indexOf(std::string_view text) const {
    if (!indexValid_) {
        index_.clear();
        index_.reserve(values_.size());
        // Walk backwards so the first of equal values wins.
        for (int i = valueCount() - 1; i >= 0; --i) index_[values_[static_cast<size_t>(i)]] = i;
        indexValid_ = true;
    }
    auto it = index_.find(text);
    return it == index_.end() ? -1 : it->second;
}

// ------------------------------------------------------------ reading files

namespace {

std::string display(const std::filesystem::path& p) { return p.string(); }

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// shapelib reports through a plain function pointer; keep its last words.
thread_local std::string shapelibMessage;
void captureShapelibError(const char* message) { shapelibMessage = message ? message : ""; }

SAHooks capturingHooks() {
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.Error = captureShapelibError;
    return hooks;
}

std::string withShapelibMessage(std::string text) {
    if (!shapelibMessage.empty()) {
        text += " (" + shapelibMessage;
        if (text.back() == '\n') text.pop_back();
        text += ")";
    }
    return text;
}

// The sibling file with another extension, in whichever case exists.
std::filesystem::path sibling(const std::filesystem::path& shp, std::string_view lowerExt) {
    std::filesystem::path lower = shp, upper = shp;
    lower.replace_extension(std::string(lowerExt));
    std::string up(lowerExt);
    for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    upper.replace_extension(up);
    std::error_code ec;
    if (!std::filesystem::exists(lower, ec) && std::filesystem::exists(upper, ec)) return upper;
    return lower;
}

uint32_t bigEndian32(const unsigned char* b) {
    return (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
}
uint32_t littleEndian32(const unsigned char* b) {
    return (uint32_t(b[3]) << 24) | (uint32_t(b[2]) << 16) | (uint32_t(b[1]) << 8) | uint32_t(b[0]);
}

bool knownShapeType(uint32_t t) {
    static constexpr std::array<uint32_t, 14> known{0, 1, 3, 5, 8, 11, 13, 15, 18, 21, 23, 25, 28, 31};
    return std::find(known.begin(), known.end(), t) != known.end();
}

// Checks the fixed 100-byte header of a .shp or .shx before shapelib sees
// the file, so that garbage is refused with a plain reason.
void checkHeader(const std::filesystem::path& file, const std::filesystem::path& layer, bool index) {
    const std::string what = "Cannot open the map layer " + display(layer) + ": ";
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        throw MapError(what + (file == layer ? std::string("the file does not exist.")
                                             : "its index " + display(file) + " does not exist."));
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) throw MapError(what + "cannot read " + display(file) + " (" + ec.message() + ").");
    std::ifstream in(file, std::ios::binary);
    std::array<unsigned char, 100> h{};
    if (!in || size < h.size() || !in.read(reinterpret_cast<char*>(h.data()), h.size()))
        throw MapError(what + display(file) + " is too short to be a shapefile (" + std::to_string(size) +
                       " bytes).");
    if (bigEndian32(h.data()) != 9994 || littleEndian32(h.data() + 28) != 1000)
        throw MapError(what + display(file) + " is not a shapefile (wrong file code or version).");
    if (!knownShapeType(littleEndian32(h.data() + 32)))
        throw MapError(what + display(file) + " has an unknown shape type " +
                       std::to_string(littleEndian32(h.data() + 32)) + ".");
    const uint64_t declared = uint64_t(bigEndian32(h.data() + 24)) * 2;
    if (declared < h.size() || declared > size)
        throw MapError(what + display(file) + " is damaged: its header gives a length of " + std::to_string(declared) +
                       " bytes but the file has " + std::to_string(size) + ".");
    if (index && (size - h.size()) % 8 != 0)
        throw MapError(what + "the index " + display(file) + " is damaged (its length is not a whole number of entries).");
}

MapShapeKind kindOf(int shapeType) {
    switch (shapeType) {
        case SHPT_POINT: case SHPT_POINTZ: case SHPT_POINTM:
        case SHPT_MULTIPOINT: case SHPT_MULTIPOINTZ: case SHPT_MULTIPOINTM:
            return MapShapeKind::Point;
        case SHPT_ARC: case SHPT_ARCZ: case SHPT_ARCM:
            return MapShapeKind::Line;
        default:
            return MapShapeKind::Polygon;
    }
}

struct ShpCloser { void operator()(SHPInfo* h) const { if (h) SHPClose(h); } };
struct DbfCloser { void operator()(DBFInfo* h) const { if (h) DBFClose(h); } };
struct ObjDestroyer { void operator()(SHPObject* o) const { if (o) SHPDestroyObject(o); } };

}  // namespace

std::shared_ptr<MapLayer> MapLayer::Open(const std::filesystem::path& shp) {
    const std::string what = "Cannot open the map layer " + display(shp) + ": ";
    const auto shx = sibling(shp, ".shx");
    const auto dbf = sibling(shp, ".dbf");
    checkHeader(shp, shp, false);
    checkHeader(shx, shp, true);
    {
        std::error_code ec;
        if (!std::filesystem::exists(dbf, ec))
            throw MapError(what + "its attribute file " + display(dbf) + " does not exist.");
    }

    SAHooks hooks = capturingHooks();
    shapelibMessage.clear();
    std::unique_ptr<SHPInfo, ShpCloser> h(SHPOpenLL(shp.string().c_str(), "rb", &hooks));
    if (!h) throw MapError(withShapelibMessage(what + "the shapefile could not be read."));

    int count = 0, type = 0;
    SHPGetInfo(h.get(), &count, &type, nullptr, nullptr);
    std::error_code ec;
    const uint64_t shxSize = std::filesystem::file_size(shx, ec);
    if (ec || count < 0 || shxSize < 100 || uint64_t(count) != (shxSize - 100) / 8)
        throw MapError(what + "the index " + display(shx) + " does not match the shapefile.");

    std::shared_ptr<MapLayer> layer(new MapLayer);
    layer->path_ = shp;
    layer->kind_ = kindOf(type);
    layer->shapes_.resize(static_cast<size_t>(count));
    bool any = false;
    for (int i = 0; i < count; ++i) {
        shapelibMessage.clear();
        std::unique_ptr<SHPObject, ObjDestroyer> o(SHPReadObject(h.get(), i));
        if (!o) throw MapError(withShapelibMessage(what + "shape " + std::to_string(i + 1) + " is damaged."));
        const int nv = o->nVertices, np = o->nParts;
        if (nv < 0 || np < 0 || (nv > 0 && (!o->padfX || !o->padfY)))
            throw MapError(what + "shape " + std::to_string(i + 1) + " is damaged.");
        // Part starts must rise from 0 within the vertex list.
        std::vector<int> starts;
        if (layer->kind_ == MapShapeKind::Point || np == 0) {
            starts.push_back(0);
        } else {
            for (int k = 0; k < np; ++k) {
                const int s = o->panPartStart[k];
                if (s < 0 || s > nv || (k == 0 && s != 0) || (k > 0 && s < starts.back()))
                    throw MapError(what + "shape " + std::to_string(i + 1) + " has inconsistent parts.");
                starts.push_back(s);
            }
        }
        starts.push_back(nv);
        Shape& shape = layer->shapes_[static_cast<size_t>(i)];
        shape.path.setFillRule(Qt::OddEvenFill);
        bool first = true;
        for (size_t k = 0; k + 1 < starts.size(); ++k) {
            std::vector<MapPoint> part;
            part.reserve(static_cast<size_t>(starts[k + 1] - starts[k]));
            for (int v = starts[k]; v < starts[k + 1]; ++v) {
                const MapPoint p{o->padfX[v], o->padfY[v]};
                if (!std::isfinite(p.x) || !std::isfinite(p.y))
                    throw MapError(what + "shape " + std::to_string(i + 1) + " has a coordinate that is not a number.");
                if (first) shape.bounds = {p.x, p.x, p.y, p.y};
                else shape.bounds = MapRect::Union(shape.bounds, {p.x, p.x, p.y, p.y});
                first = false;
                part.push_back(p);
            }
            if (part.empty()) continue;
            if (layer->kind_ != MapShapeKind::Point) {
                shape.path.moveTo(part[0].x, part[0].y);
                for (size_t v = 1; v < part.size(); ++v) shape.path.lineTo(part[v].x, part[v].y);
                if (layer->kind_ == MapShapeKind::Polygon) shape.path.closeSubpath();
            }
            shape.parts.push_back(std::move(part));
        }
        if (!shape.parts.empty()) {
            layer->extent_ = any ? MapRect::Union(layer->extent_, shape.bounds) : shape.bounds;
            any = true;
        }
    }
    h.reset();

    shapelibMessage.clear();
    std::unique_ptr<DBFInfo, DbfCloser> d(DBFOpenLL(dbf.string().c_str(), "rb", &hooks));
    if (!d) throw MapError(withShapelibMessage(what + "its attribute file " + display(dbf) + " could not be read."));
    const int records = DBFGetRecordCount(d.get());
    if (records != count)
        throw MapError(what + "its attribute file has " + std::to_string(records) + " records but the shapefile has " +
                       std::to_string(count) + " shapes.");
    const int fields = DBFGetFieldCount(d.get());
    for (int f = 0; f < fields; ++f) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        DBFGetFieldInfo(d.get(), f, name, nullptr, nullptr);
        layer->fieldNames_.emplace_back(name);
    }
    layer->attributes_.resize(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        auto& row = layer->attributes_[static_cast<size_t>(r)];
        row.reserve(static_cast<size_t>(fields));
        for (int f = 0; f < fields; ++f) {
            const char* s = DBFIsAttributeNULL(d.get(), r, f) ? "" : DBFReadStringAttribute(d.get(), r, f);
            row.emplace_back(s ? s : "");
        }
    }

    // A neutral look until the screen chooses its own.
    switch (layer->kind_) {
        case MapShapeKind::Polygon:
            layer->symbol_.color = {236, 230, 216};
            layer->symbol_.symbolType = kFillSymbol;
            break;
        case MapShapeKind::Line:
            layer->symbol_.color = {96, 96, 96};
            layer->symbol_.symbolType = kLineSymbol;
            break;
        case MapShapeKind::Point:
            layer->symbol_.color = {96, 96, 96};
            layer->symbol_.symbolType = kPointSymbol;
            layer->symbol_.size = 4;
            break;
    }
    return layer;
}

void MapLayer::checkRecord(int record) const {
    if (record < 0 || record >= recordCount())
        throw MapError("The map layer " + display(path_) + " has no record " + std::to_string(record) + " (it has " +
                       std::to_string(recordCount()) + ").");
}

const MapLayer::Shape& MapLayer::shape(int record) const {
    checkRecord(record);
    return shapes_[static_cast<size_t>(record)];
}

const std::string& MapLayer::fieldName(int position) const {
    if (position < 0 || position >= fieldCount())
        throw MapError("The map layer " + display(path_) + " has no field at position " + std::to_string(position) +
                       " (it has " + std::to_string(fieldCount()) + ").");
    return fieldNames_[static_cast<size_t>(position)];
}

int MapLayer::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fieldNames_.size(); ++i)
        if (iequals(fieldNames_[i], name)) return static_cast<int>(i);
    return -1;
}

std::string MapLayer::attribute(int record, int fieldPosition) const {
    checkRecord(record);
    fieldName(fieldPosition);
    return attributes_[static_cast<size_t>(record)][static_cast<size_t>(fieldPosition)];
}

std::string MapLayer::attribute(int record, std::string_view name) const {
    const int f = fieldIndex(name);
    if (f < 0) throw MapError("The map layer " + display(path_) + " has no field named " + std::string(name) + ".");
    return attribute(record, f);
}

MapRect MapLayer::extentOf(const std::vector<int>& records) const {
    MapRect r;
    bool any = false;
    for (int i : records) {
        const Shape& s = shape(i);
        if (s.parts.empty()) continue;
        r = any ? MapRect::Union(r, s.bounds) : s.bounds;
        any = true;
    }
    return r;
}

// ------------------------------------------------------------------ searches

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
    auto skip = [&] { while (i < e.size() && std::isspace(static_cast<unsigned char>(e[i]))) ++i; };
    auto word = [&](size_t at) { return at < e.size() && (std::isalnum(static_cast<unsigned char>(e[at])) || e[at] == '_'); };
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
    } else if (i + 4 <= e.size() && iequals(e.substr(i, 4), "like") && !word(i + 4)) {
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
    const Expression x = parseExpression(expression, display(path_));
    const int f = fieldIndex(x.field);
    if (f < 0)
        throw MapError("Cannot search the map layer " + display(path_) + ": it has no field named " + x.field + ".");
    std::vector<int> found;
    for (int r = 0; r < recordCount(); ++r) {
        const std::string& v = attributes_[static_cast<size_t>(r)][static_cast<size_t>(f)];
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
            for (size_t v = 1; v < part.size(); ++v) best = std::min(best, squaredDistanceToSegment(p, part[v - 1], part[v]));
            if (kind == MapShapeKind::Polygon && part.size() > 2)
                best = std::min(best, squaredDistanceToSegment(p, part.back(), part.front()));
        }
        if (best <= enough) break;
    }
    return best;
}

void checkSearchPoint(MapPoint p, double distance, const std::filesystem::path& layer) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::isnan(distance))
        throw MapError("Cannot search the map layer " + display(layer) + " around a point that is not a number.");
}

MapRect widened(const MapRect& r, double d) { return {r.left - d, r.right + d, r.bottom - d, r.top + d}; }

}  // namespace

std::vector<int> MapLayer::SearchByDistance(MapPoint p, double distance) const {
    checkSearchPoint(p, distance, path_);
    const double d = std::max(0.0, distance);
    const double d2 = d * d;
    std::vector<int> found;
    for (int r = 0; r < recordCount(); ++r) {
        const Shape& s = shapes_[static_cast<size_t>(r)];
        if (s.parts.empty() || !widened(s.bounds, d).contains(p)) continue;
        if (squaredDistanceTo(s, kind_, p, d2) <= d2) found.push_back(r);
    }
    return found;
}

int MapLayer::ShapeAt(MapPoint p, double tolerance) const {
    checkSearchPoint(p, tolerance, path_);
    if (kind_ == MapShapeKind::Polygon)
        for (int r = recordCount() - 1; r >= 0; --r) {
            const Shape& s = shapes_[static_cast<size_t>(r)];
            if (!s.parts.empty() && s.bounds.contains(p) && polygonContains(s.parts, p)) return r;
        }
    const double d = std::max(0.0, tolerance);
    double best = d * d;
    int nearest = -1;
    for (int r = 0; r < recordCount(); ++r) {
        const Shape& s = shapes_[static_cast<size_t>(r)];
        if (s.parts.empty() || !widened(s.bounds, d).contains(p)) continue;
        const double d2 = squaredDistanceTo(s, kind_, p, 0);
        if (d2 < best || (nearest < 0 && d2 <= best)) {
            best = d2;
            nearest = r;
        }
    }
    return nearest;
}

// ------------------------------------------------------------------- control

void MapControl::AddLayer(std::shared_ptr<MapLayer> layer) {
    if (!layer) throw MapError("Cannot add an empty map layer.");
    layers_.push_back(std::move(layer));
}

void MapControl::SetExtent(const MapRect& r) {
    if (!std::isfinite(r.left) || !std::isfinite(r.right) || !std::isfinite(r.bottom) || !std::isfinite(r.top))
        throw MapError("Cannot set a map extent whose sides are not numbers.");
    // Sides given the wrong way round still describe the same rectangle.
    extent_ = {std::min(r.left, r.right), std::max(r.left, r.right), std::min(r.bottom, r.top),
               std::max(r.bottom, r.top)};
    extentSet_ = true;
}

MapRect MapControl::extent() const {
    if (extentSet_) return extent_;
    MapRect r;
    bool any = false;
    for (const auto& l : layers_) {
        if (l->recordCount() == 0) continue;
        r = any ? MapRect::Union(r, l->extent()) : l->extent();
        any = true;
    }
    return r;
}

void MapControl::SetControlSize(int w, int h) {
    width_ = std::max(1, w);
    height_ = std::max(1, h);
}

MapControl::View MapControl::viewFor(int w, int h) const {
    const MapRect e = extent();
    w = std::max(1, w);
    h = std::max(1, h);
    const double inf = std::numeric_limits<double>::infinity();
    const double sx = e.width() > 0 ? w / e.width() : inf;
    const double sy = e.height() > 0 ? h / e.height() : inf;
    double scale = std::min(sx, sy);
    if (!std::isfinite(scale) || scale <= 0) scale = 1;
    return {scale, e.centre()};
}

MapRect MapControl::visibleExtent() const {
    const View v = viewFor(width_, height_);
    const double hw = width_ / 2.0 / v.scale, hh = height_ / 2.0 / v.scale;
    return {v.centre.x - hw, v.centre.x + hw, v.centre.y - hh, v.centre.y + hh};
}

MapPoint MapControl::ToMapPoint(double xTwips, double yTwips) const {
    const View v = viewFor(width_, height_);
    return {v.centre.x + (xTwips / kTwipsPerPixel - width_ / 2.0) / v.scale,
            v.centre.y - (yTwips / kTwipsPerPixel - height_ / 2.0) / v.scale};
}

double MapControl::ToMapDistance(double twips) const {
    return twips / kTwipsPerPixel / viewFor(width_, height_).scale;
}

void MapControl::Refresh() {
    ++refreshes_;
    if (onRefresh) onRefresh();
}

void MapControl::MouseDown(int button, int shift, double xTwips, double yTwips) {
    if (onMouseDown) onMouseDown(button, shift, xTwips, yTwips);
}

namespace {

QColor qcolor(Color c) { return QColor(std::clamp(c.r, 0, 255), std::clamp(c.g, 0, 255), std::clamp(c.b, 0, 255)); }

QPen cosmeticPen(Color c, int size) {
    QPen pen(qcolor(c));
    pen.setWidthF(std::max(1, size));
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::BevelJoin);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

}  // namespace

void MapLayer::draw(QPainter& p, const MapRect& visible, const QTransform& toDevice) const {
    const ValueMapRenderer* renderer = renderer_.get();
    const int field = renderer ? fieldIndex(renderer->field) : -1;
    const MapSymbol& own = symbol_;
    for (int r = 0; r < recordCount(); ++r) {
        const Shape& s = shapes_[static_cast<size_t>(r)];
        if (s.parts.empty() || !s.bounds.intersects(visible)) continue;
        const MapSymbol* sym = &own;
        if (field >= 0) {
            const int i = renderer->indexOf(attributes_[static_cast<size_t>(r)][static_cast<size_t>(field)]);
            if (i >= 0) sym = &renderer->symbol(i);
        }
        switch (kind_) {
            case MapShapeKind::Polygon:
                p.setBrush(sym->style == kTransparentFill ? QBrush(Qt::NoBrush) : QBrush(qcolor(sym->color)));
                if (sym->outline || sym->style == kTransparentFill)
                    p.setPen(cosmeticPen(sym->outlineColor.value_or(sym->style == kTransparentFill ? kOutlineGrey
                                                                                                 : kFillBorderGrey),
                                         sym->size));
                else
                    p.setPen(Qt::NoPen);
                p.drawPath(s.path);
                break;
            case MapShapeKind::Line:
                p.setBrush(Qt::NoBrush);
                p.setPen(cosmeticPen(sym->color, sym->size));
                p.drawPath(s.path);
                break;
            case MapShapeKind::Point: {
                // Markers keep their pixel size whatever the scale.
                p.save();
                p.resetTransform();
                p.setPen(Qt::NoPen);
                p.setBrush(qcolor(sym->color));
                const double radius = std::max(2, sym->size) / 2.0;
                for (const auto& part : s.parts)
                    for (const MapPoint& q : part) p.drawEllipse(toDevice.map(QPointF(q.x, q.y)), radius, radius);
                p.restore();
                break;
            }
        }
    }
}

void MapControl::Render(QPainter& p, const QRect& target) const {
    p.save();
    p.setClipRect(target);
    p.fillRect(target, qcolor(backColor));
    const View v = viewFor(target.width(), target.height());
    const double w = std::max(1, target.width()), h = std::max(1, target.height());
    const QTransform toDevice(v.scale, 0, 0, -v.scale, target.x() + w / 2 - v.scale * v.centre.x,
                              target.y() + h / 2 + v.scale * v.centre.y);
    const double hw = w / 2 / v.scale, hh = h / 2 / v.scale;
    const MapRect visible{v.centre.x - hw, v.centre.x + hw, v.centre.y - hh, v.centre.y + hh};
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setTransform(toDevice, true);
    for (const auto& layer : layers_) layer->draw(p, visible, p.transform());
    p.restore();
}

QImage MapControl::RenderImage() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    image.fill(qcolor(backColor));
    QPainter p(&image);
    Render(p, image.rect());
    p.end();
    return image;
}

}  // namespace verrane::platform
