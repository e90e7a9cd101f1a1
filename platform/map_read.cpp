#include "platform/map.h"
// Reading a layer: the shapefile, its index and its attribute table.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>

#include <shapefil.h>

#include "platform/map_detail.h"

namespace verrane::platform {

namespace {

std::string display(const std::filesystem::path& p) { return p.string(); }

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
        throw MapError(what + display(file) + " is too short to be a shapefile (" + std::to_string(size) + " bytes).");
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
        throw MapError(what + "the index " + display(file) +
                       " is damaged (its length is not a whole number of entries).");
}

MapShapeKind kindOf(int shapeType) {
    switch (shapeType) {
        case SHPT_POINT:
        case SHPT_POINTZ:
        case SHPT_POINTM:
        case SHPT_MULTIPOINT:
        case SHPT_MULTIPOINTZ:
        case SHPT_MULTIPOINTM:
            return MapShapeKind::Point;
        case SHPT_ARC:
        case SHPT_ARCZ:
        case SHPT_ARCM:
            return MapShapeKind::Line;
        default:
            return MapShapeKind::Polygon;
    }
}

struct ShpCloser {
    void operator()(SHPInfo* h) const {
        if (h) SHPClose(h);
    }
};
struct DbfCloser {
    void operator()(DBFInfo* h) const {
        if (h) DBFClose(h);
    }
};
struct ObjDestroyer {
    void operator()(SHPObject* o) const {
        if (o) SHPDestroyObject(o);
    }
};

// The outline of one shape: its parts, bounds and drawing path. shapeWhat
// starts the message of a damaged shape ("Cannot open ...: shape 3").
MapLayer::Shape readShape(const SHPObject& o, MapShapeKind kind, const std::string& shapeWhat) {
    const int nv = o.nVertices, np = o.nParts;
    // Part starts must rise from 0 within the vertex list.
    std::vector<int> starts;
    if (kind == MapShapeKind::Point || np == 0) {
        starts.push_back(0);
    } else {
        for (int k = 0; k < np; ++k) {
            const int s = o.panPartStart[k];
            if (s < 0 || s > nv || (k == 0 && s != 0) || (k > 0 && s < starts.back()))
                throw MapError(shapeWhat + " has inconsistent parts.");
            starts.push_back(s);
        }
    }
    starts.push_back(nv);
    MapLayer::Shape shape;
    shape.path.setFillRule(Qt::OddEvenFill);
    bool first = true;
    for (size_t k = 0; k + 1 < starts.size(); ++k) {
        std::vector<MapPoint> part;
        part.reserve(static_cast<size_t>(starts[k + 1] - starts[k]));
        for (int v = starts[k]; v < starts[k + 1]; ++v) {
            const MapPoint p{o.padfX[v], o.padfY[v]};
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                throw MapError(shapeWhat + " has a coordinate that is not a number.");
            if (first)
                shape.bounds = {p.x, p.x, p.y, p.y};
            else
                shape.bounds = MapRect::Union(shape.bounds, {p.x, p.x, p.y, p.y});
            first = false;
            part.push_back(p);
        }
        if (part.empty()) continue;
        if (kind != MapShapeKind::Point) {
            shape.path.moveTo(part[0].x, part[0].y);
            for (size_t v = 1; v < part.size(); ++v) shape.path.lineTo(part[v].x, part[v].y);
            if (kind == MapShapeKind::Polygon) shape.path.closeSubpath();
        }
        shape.parts.push_back(std::move(part));
    }
    return shape;
}

// The attribute table, which must have one record per shape.
void readAttributes(DBFInfo* d, int count, const std::string& what, std::vector<std::string>& fieldNames,
                    std::vector<std::vector<std::string>>& attributes) {
    const int records = DBFGetRecordCount(d);
    if (records != count)
        throw MapError(what + "its attribute file has " + std::to_string(records) + " records but the shapefile has " +
                       std::to_string(count) + " shapes.");
    const int fields = DBFGetFieldCount(d);
    for (int f = 0; f < fields; ++f) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        DBFGetFieldInfo(d, f, name, nullptr, nullptr);
        fieldNames.emplace_back(name);
    }
    attributes.resize(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        auto& row = attributes[static_cast<size_t>(r)];
        row.reserve(static_cast<size_t>(fields));
        for (int f = 0; f < fields; ++f) {
            const char* s = DBFIsAttributeNULL(d, r, f) ? "" : DBFReadStringAttribute(d, r, f);
            row.emplace_back(s ? s : "");
        }
    }
}

// A neutral look until the screen chooses its own.
MapSymbol neutralSymbol(MapShapeKind kind, MapSymbol symbol) {
    switch (kind) {
        case MapShapeKind::Polygon:
            symbol.color = {236, 230, 216};
            symbol.symbolType = kFillSymbol;
            break;
        case MapShapeKind::Line:
            symbol.color = {96, 96, 96};
            symbol.symbolType = kLineSymbol;
            break;
        case MapShapeKind::Point:
            symbol.color = {96, 96, 96};
            symbol.symbolType = kPointSymbol;
            symbol.size = 4;
            break;
    }
    return symbol;
}

}  // namespace

namespace {
ScopedMapLayerCache* currentCache = nullptr;
}  // namespace

ScopedMapLayerCache::ScopedMapLayerCache() : outer_(currentCache) { currentCache = this; }

ScopedMapLayerCache::~ScopedMapLayerCache() { currentCache = outer_; }

std::shared_ptr<MapLayer> MapLayer::Open(const std::filesystem::path& shp) {
    if (!currentCache) return Read(shp);
    auto& cached = currentCache->layers_[shp.lexically_normal().string()];
    if (!cached) cached = Read(shp);
    // A layer of its own: the caller changes its symbol and renderer.
    return std::make_shared<MapLayer>(*cached);
}

std::shared_ptr<MapLayer> MapLayer::Read(const std::filesystem::path& shp) {
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
    auto contents = std::make_shared<Contents>();
    auto& shapes = contents->shapes;
    shapes.resize(static_cast<size_t>(count));
    bool any = false;
    for (int i = 0; i < count; ++i) {
        shapelibMessage.clear();
        std::unique_ptr<SHPObject, ObjDestroyer> o(SHPReadObject(h.get(), i));
        if (!o) throw MapError(withShapelibMessage(what + "shape " + std::to_string(i + 1) + " is damaged."));
        const int nv = o->nVertices, np = o->nParts;
        if (nv < 0 || np < 0 || (nv > 0 && (!o->padfX || !o->padfY)))
            throw MapError(what + "shape " + std::to_string(i + 1) + " is damaged.");
        Shape& shape = shapes[static_cast<size_t>(i)];
        shape = readShape(*o, layer->kind_, what + "shape " + std::to_string(i + 1));
        if (!shape.parts.empty()) {
            layer->extent_ = any ? MapRect::Union(layer->extent_, shape.bounds) : shape.bounds;
            any = true;
        }
    }
    h.reset();

    shapelibMessage.clear();
    std::unique_ptr<DBFInfo, DbfCloser> d(DBFOpenLL(dbf.string().c_str(), "rb", &hooks));
    if (!d) throw MapError(withShapelibMessage(what + "its attribute file " + display(dbf) + " could not be read."));
    readAttributes(d.get(), count, what, contents->fieldNames, contents->attributes);
    layer->contents_ = std::move(contents);
    layer->symbol_ = neutralSymbol(layer->kind_, layer->symbol_);
    return layer;
}

void MapLayer::checkRecord(int record) const {
    if (record < 0 || record >= recordCount())
        throw MapError("The map layer " + display(path_) + " has no record " + std::to_string(record) + " (it has " +
                       std::to_string(recordCount()) + ").");
}

const MapLayer::Shape& MapLayer::shape(int record) const {
    checkRecord(record);
    return contents_->shapes[static_cast<size_t>(record)];
}

const std::string& MapLayer::fieldName(int position) const {
    if (position < 0 || position >= fieldCount())
        throw MapError("The map layer " + display(path_) + " has no field at position " + std::to_string(position) +
                       " (it has " + std::to_string(fieldCount()) + ").");
    return contents_->fieldNames[static_cast<size_t>(position)];
}

int MapLayer::fieldIndex(std::string_view name) const {
    for (size_t i = 0; i < contents_->fieldNames.size(); ++i)
        if (detail::iequals(contents_->fieldNames[i], name)) return static_cast<int>(i);
    return -1;
}

std::string MapLayer::attribute(int record, int fieldPosition) const {
    checkRecord(record);
    fieldName(fieldPosition);
    return contents_->attributes[static_cast<size_t>(record)][static_cast<size_t>(fieldPosition)];
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

}  // namespace verrane::platform
