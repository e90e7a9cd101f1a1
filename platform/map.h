#pragma once
// The map control: layers read from shapefiles, symbols, a value-map
// renderer, extents, searches and the conversion from control to map
// coordinates. It draws with QPainter, either into a window or headless into
// a QImage.

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QImage>
#include <QPainterPath>
#include <QRect>

#include "platform/color.h"

class QPainter;
class QTransform;

namespace verrane::platform {

// Every failure of a shapefile, an expression or an index.
class MapError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct MapPoint {
    double x = 0, y = 0;
};

struct MapRect {
    double left = 0, right = 0, bottom = 0, top = 0;

    // Smallest left and bottom, largest right and top.
    static MapRect Union(const MapRect&, const MapRect&);
    MapRect ScaledAboutCentre(double factor) const;
    double width() const { return right - left; }
    double height() const { return top - bottom; }
    MapPoint centre() const { return {(left + right) / 2, (bottom + top) / 2}; }
    bool contains(MapPoint p) const { return p.x >= left && p.x <= right && p.y >= bottom && p.y <= top; }
    bool intersects(const MapRect& o) const {
        return left <= o.right && right >= o.left && bottom <= o.top && top >= o.bottom;
    }
    friend bool operator==(const MapRect&, const MapRect&) = default;
};

struct MapSymbol {
    Color color{200, 200, 200};
    int size = 1;   // line width in pixels (lines, outlines); diameter for points
    int style = 0;  // 0 solid fill, 1 transparent (outline only)
    int symbolType = 0;
    // Polygon borders. Unset: thin mid grey around fills, dark grey when the
    // fill is transparent, so state outlines stand out over county borders.
    std::optional<Color> outlineColor;
    bool outline = true;
};

inline constexpr Color kFillBorderGrey{150, 146, 138};
inline constexpr Color kOutlineGrey{80, 80, 80};

// Symbol types, as a layer reports them for its kind of shape.
inline constexpr int kPointSymbol = 0;
inline constexpr int kLineSymbol = 1;
inline constexpr int kFillSymbol = 2;

inline constexpr int kSolidFill = 0;
inline constexpr int kTransparentFill = 1;

// Shapes whose field equals value i take symbol i; the others keep the
// layer's own symbol.
class ValueMapRenderer {
public:
    std::string field;
    int symbolType = 0;

    // Keeps the first min(old, n) values and symbols; new ones are empty.
    void setValueCount(int n);
    int valueCount() const { return static_cast<int>(values_.size()); }
    void setValue(int i, std::string text);
    const std::string& value(int i) const;
    MapSymbol& symbol(int i);
    const MapSymbol& symbol(int i) const;
    // Index of the first value equal to text, -1 if none. Constant time.
    int indexOf(std::string_view text) const;

private:
    void check(int i) const;
    std::vector<std::string> values_;
    std::vector<MapSymbol> symbols_;
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    mutable std::unordered_map<std::string, int, Hash, std::equal_to<>> index_;
    mutable bool indexValid_ = false;
};

enum class MapShapeKind { Point, Line, Polygon };

class MapLayer {
public:
    // Reads the whole file (.shp, .shx and .dbf) into memory. Throws MapError
    // naming the file and the problem.
    static std::shared_ptr<MapLayer> Open(const std::filesystem::path& shp);

    const std::filesystem::path& path() const { return path_; }
    MapShapeKind kind() const { return kind_; }

    MapSymbol& symbol() { return symbol_; }
    const MapSymbol& symbol() const { return symbol_; }
    void setRenderer(std::shared_ptr<ValueMapRenderer> r) { renderer_ = std::move(r); }
    std::shared_ptr<ValueMapRenderer> renderer() const { return renderer_; }

    int recordCount() const { return static_cast<int>(contents_->shapes.size()); }
    int fieldCount() const { return static_cast<int>(contents_->fieldNames.size()); }
    const std::string& fieldName(int position) const;
    // Case-insensitive; -1 if there is no such field.
    int fieldIndex(std::string_view name) const;
    std::string attribute(int record, int fieldPosition) const;
    std::string attribute(int record, std::string_view fieldName) const;

    MapRect extent() const { return extent_; }
    // Combined extent of the records; an all-zero rectangle for none.
    MapRect extentOf(const std::vector<int>& records) const;

    // "FIELD Like 'pattern'" (% any run, _ one character, case-insensitive)
    // or "FIELD = 'text'" (exact). Record order. Other forms throw MapError.
    std::vector<int> SearchExpression(std::string_view expression) const;
    // Shapes whose polygon contains p or whose outline (or line, or point)
    // lies within distance of p, in record order.
    std::vector<int> SearchByDistance(MapPoint p, double distance) const;
    // The shape under p, as the map shows it: the last polygon in record
    // order (the one drawn on top) that contains p. When none does (a click
    // on a border, on water, beside the map), the shape whose outline, line
    // or point lies nearest to p within tolerance, the first in record order
    // among equals. -1 when there is none.
    int ShapeAt(MapPoint p, double tolerance) const;

    struct Shape {
        MapRect bounds;
        std::vector<std::vector<MapPoint>> parts;  // rings, lines or points
        QPainterPath path;                         // in map coordinates
    };
    const Shape& shape(int record) const;

private:
    friend class MapControl;
    MapLayer() = default;
    void checkRecord(int record) const;
    void draw(QPainter&, const MapRect& visible, const QTransform& toDevice) const;
    static std::shared_ptr<MapLayer> Read(const std::filesystem::path& shp);

    std::filesystem::path path_;
    MapShapeKind kind_ = MapShapeKind::Polygon;
    MapSymbol symbol_;
    std::shared_ptr<ValueMapRenderer> renderer_;
    // What the files hold, read once and never changed; shared by every layer
    // opened from the same file while a ScopedMapLayerCache lives.
    struct Contents {
        std::vector<Shape> shapes;
        std::vector<std::string> fieldNames;
        std::vector<std::vector<std::string>> attributes;  // [record][field]
    };
    std::shared_ptr<const Contents> contents_;
    MapRect extent_;
};

// While one lives, MapLayer::Open reads each shapefile once: every later
// opening of the same path gets a new layer of its own (the file's symbol, no
// renderer) over the shapes and attributes already read. For batch runs that
// load the hazard screen's layers again and again; the window keeps reading
// the files each time.
class ScopedMapLayerCache {
public:
    ScopedMapLayerCache();
    ~ScopedMapLayerCache();
    ScopedMapLayerCache(const ScopedMapLayerCache&) = delete;
    ScopedMapLayerCache& operator=(const ScopedMapLayerCache&) = delete;

private:
    friend class MapLayer;
    std::unordered_map<std::string, std::shared_ptr<const MapLayer>> layers_;  // by normalised path
    ScopedMapLayerCache* outer_;
};

class MapControl {
public:
    void AddLayer(std::shared_ptr<MapLayer>);
    const std::vector<std::shared_ptr<MapLayer>>& layers() const { return layers_; }
    void ClearLayers() { layers_.clear(); }

    // The requested extent; drawing fits it into the control keeping the
    // aspect ratio, centred. Before any is set, the union of the layers.
    void SetExtent(const MapRect&);
    MapRect extent() const;
    // What the control actually shows: the extent widened to its aspect.
    MapRect visibleExtent() const;

    // Zooms in (factor > 1) or out about the point under (xTwips, yTwips),
    // which stays where it is on the control: what the mouse wheel does. The
    // view stays between 1/1000 and 4 times the width of all the layers.
    void ZoomAt(double factor, double xTwips, double yTwips);

    void SetControlSize(int widthPixels, int heightPixels);
    int widthPixels() const { return width_; }
    int heightPixels() const { return height_; }

    // Control coordinates are twips (15 per pixel), as the mouse-down event
    // reports them, measured from the control's top left corner.
    static constexpr double kTwipsPerPixel = 15.0;
    MapPoint ToMapPoint(double xTwips, double yTwips) const;
    double ToMapDistance(double twips) const;

    // The window repaints on onRefresh.
    void Refresh();
    int refreshCount() const { return refreshes_; }
    std::function<void()> onRefresh;

    std::function<void(int button, int shift, double xTwips, double yTwips)> onMouseDown;
    // button 1 left, 2 right; raised on every press.
    void MouseDown(int button, int shift, double xTwips, double yTwips);

    Color backColor{255, 255, 255};

    void Render(QPainter&, const QRect& target) const;
    QImage RenderImage() const;

private:
    // Pixels per map unit and the map point at the centre, for a target size.
    struct View {
        double scale;
        MapPoint centre;
    };
    View viewFor(int w, int h) const;

    std::vector<std::shared_ptr<MapLayer>> layers_;
    MapRect extent_;
    bool extentSet_ = false;
    int width_ = 480, height_ = 400;
    int refreshes_ = 0;
};

}  // namespace verrane::platform
