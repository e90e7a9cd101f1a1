// The screening map: each screened county filled by the class of its
// benefit-cost ratio on the shipped county shapes, the state outlines on top,
// the template's name as title and a legend. Drawn headless into a QImage.
#include <QFont>
#include <QImage>
#include <QPainter>

#include <array>
#include <cmath>
#include <map>
#include <set>

#include "app/screening.h"
#include "platform/map.h"
#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/report.h"

namespace verrane::screening {

namespace {

using platform::Color;
using platform::MapControl;
using platform::MapLayer;
using platform::MapRect;

const std::array<RatioClass, kRatioClassCount> kClasses{{{"below 1", {215, 48, 39}},
                                                         {"1 to 2", {254, 224, 139}},
                                                         {"2 to 5", {145, 207, 96}},
                                                         {"5 and more", {26, 152, 80}},
                                                         {"undefined or no data", {160, 160, 160}}}};
constexpr Color kNotScreened{246, 244, 240};
constexpr Color kCountyBorder{190, 186, 180};
constexpr Color kStateOutline{40, 40, 40};

// The map regions of the shapes, each drawn in its own frame: the 48 states
// and DC, then Alaska, Hawaii, Puerto Rico with the Virgin Islands, Guam with
// the Northern Mariana Islands, American Samoa (state codes).
const std::vector<std::vector<int>> kRegions{{}, {2}, {15}, {72, 78}, {66, 69}, {60}};
const char* const kRegionNames[] = {
    "", "Alaska", "Hawaii", "Puerto Rico, Virgin Islands", "Guam, Northern Mariana Islands", "American Samoa"};

int RegionOf(int stateCode) {
    for (size_t i = 1; i < kRegions.size(); ++i)
        for (int code : kRegions[i])
            if (code == stateCode) return static_cast<int>(i);
    return 0;
}

int StateCodeOf(const std::string& fips) {
    try {
        return std::stoi(fips.substr(0, 2));
    } catch (const std::exception&) {
        return -1;
    }
}

// Extent of the states of each region that holds a screened county.
std::map<int, MapRect> RegionExtents(const MapLayer& states, const std::set<int>& screenedStates) {
    std::map<int, MapRect> out;
    const int codeField = states.fieldIndex("STATE_FIPS");
    for (int s = 0; s < states.recordCount(); ++s) {
        const int code = codeField >= 0 ? StateCodeOf(states.attribute(s, codeField)) : -1;
        if (!screenedStates.count(code) || states.shape(s).parts.empty()) continue;
        const MapRect b = states.shape(s).bounds;
        const int region = RegionOf(code);
        auto it = out.find(region);
        if (it == out.end())
            out.emplace(region, b);
        else
            it->second = MapRect::Union(it->second, b);
    }
    return out;
}

void DrawLegend(QPainter& p, const QRect& box, const std::array<int, 5>& counts) {
    QFont f = p.font();
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(box.left(), box.top(), box.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
               "Benefit-cost ratio (counties)");
    for (size_t i = 0; i < kClasses.size(); ++i) {
        const int y = box.top() + 26 + static_cast<int>(i) * 24;
        const Color c = kClasses[i].color;
        p.setPen(QColor(90, 90, 90));
        p.setBrush(QColor(c.r, c.g, c.b));
        p.drawRect(box.left(), y, 28, 18);
        p.setPen(Qt::black);
        p.drawText(QRect(box.left() + 38, y - 2, box.width() - 38, 22), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(std::string(kClasses[i].label) + " (" + std::to_string(counts[i]) + ")"));
    }
}

// A click this close to a border (pixels) still finds the county.
constexpr double kClickTolerancePixels = 3;

}  // namespace

const RatioClass& RatioClassAt(size_t index) { return kClasses.at(index); }

size_t RatioClassOf(const ScreenRow& row) {
    if (!row.figures || !row.figures->benefitCostRatio) return 4;
    const double r = *row.figures->benefitCostRatio;
    return r < 1 ? 0 : r < 2 ? 1 : r < 5 ? 2 : 3;
}

std::unique_ptr<ScreenMap> ScreenMap::Draw(const std::vector<ScreenRow>& rows, const std::string& title,
                                           const std::string& subtitle, std::string& error) {
    if (!platform::report::EnsureGuiApplication(&error)) return nullptr;
    auto out = std::unique_ptr<ScreenMap>(new ScreenMap());
    std::shared_ptr<MapLayer> counties, states;
    try {
        counties = MapLayer::Open(platform::DataDir() / "Counties.shp");
        states = MapLayer::Open(platform::DataDir() / "states.shp");
    } catch (const std::exception& e) {
        error = e.what();
        return nullptr;
    }
    out->counties_ = counties;
    out->fipsField_ = counties->fieldIndex("FIPS");

    auto renderer = std::make_shared<platform::ValueMapRenderer>();
    renderer->field = "FIPS";
    renderer->symbolType = counties->symbol().symbolType;
    renderer->setValueCount(static_cast<int>(rows.size()));
    std::array<int, 5> counts{};
    std::set<int> screenedStates;
    for (size_t i = 0; i < rows.size(); ++i) {
        const size_t c = RatioClassOf(rows[i]);
        ++counts[c];
        renderer->setValue(static_cast<int>(i), rows[i].fips);
        renderer->symbol(static_cast<int>(i)).color = kClasses[c].color;
        renderer->symbol(static_cast<int>(i)).outlineColor = kCountyBorder;
        screenedStates.insert(StateCodeOf(rows[i].fips));
    }
    counties->setRenderer(renderer);
    counties->symbol().color = kNotScreened;
    counties->symbol().outlineColor = kCountyBorder;
    states->symbol().style = platform::kTransparentFill;
    states->symbol().outlineColor = kStateOutline;

    const std::map<int, MapRect> extents = RegionExtents(*states, screenedStates);
    const bool country = extents.size() > 1;
    const int width = country ? 1600 : 1100, height = country ? 1050 : 900;
    QImage& image = out->image_;
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont f("Arial");
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(20, 10, width - 40, 36), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(title));
    f.setPixelSize(16);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRect(20, 48, width - 40, 24), Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(subtitle));

    // The main region fills the page; the others sit in frames along the foot,
    // left of the legend.
    const int top = 84, legendWidth = 280, footHeight = country ? 230 : 0;
    const QRect mainArea(10, top, width - 20, height - top - 10 - footHeight);
    const QRect foot(10, height - footHeight - 10, width - 30 - legendWidth, footHeight);
    const int others = static_cast<int>(extents.size()) - (extents.count(0) ? 1 : 0);
    int slot = 0;
    for (const auto& [region, extent] : extents) {
        Frame frame;
        frame.map.AddLayer(counties);
        frame.map.AddLayer(states);
        frame.map.SetExtent(extent.ScaledAboutCentre(country ? 1.04 : 1.1));
        frame.pixels = mainArea;
        if (country && region != 0) {
            const int w = foot.width() / std::max(1, others);
            frame.pixels = QRect(foot.left() + slot * w, foot.top(), w - 10, foot.height());
            ++slot;
        } else if (!country) {
            frame.pixels =
                QRect(mainArea.left(), mainArea.top(), mainArea.width() - legendWidth - 10, mainArea.height());
        }
        frame.map.SetControlSize(frame.pixels.width(), frame.pixels.height());
        frame.map.Render(p, frame.pixels);
        if (country && region != 0) {
            p.setPen(QColor(150, 150, 150));
            p.setBrush(Qt::NoBrush);
            p.drawRect(frame.pixels);
            QFont small = p.font();
            small.setPixelSize(13);
            p.setFont(small);
            p.setPen(Qt::black);
            p.drawText(frame.pixels.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop, kRegionNames[region]);
        }
        out->frames_.push_back(std::move(frame));
    }
    const QRect legend(width - legendWidth - 10, height - 10 - 26 - 24 * 5 - 10, legendWidth, 26 + 24 * 5 + 10);
    DrawLegend(p, legend, counts);
    p.end();
    return out;
}

std::string ScreenMap::FipsAt(QPoint pixel) const {
    if (!counties_ || fipsField_ < 0) return {};
    for (const Frame& frame : frames_) {
        if (!frame.pixels.contains(pixel)) continue;
        const double twips = MapControl::kTwipsPerPixel;
        const platform::MapPoint at =
            frame.map.ToMapPoint((pixel.x() - frame.pixels.left()) * twips, (pixel.y() - frame.pixels.top()) * twips);
        const int record = counties_->ShapeAt(at, frame.map.ToMapDistance(kClickTolerancePixels * twips));
        return record < 0 ? std::string() : counties_->attribute(record, fipsField_);
    }
    return {};
}

int ScreenMap::RecordOf(const std::string& fips) const {
    if (!counties_ || fipsField_ < 0) return -1;
    for (int record = 0; record < counties_->recordCount(); ++record)
        if (counties_->attribute(record, fipsField_) == fips) return record;
    return -1;
}

QTransform ScreenMap::Frame::MapToPixels() const {
    const MapRect v = map.visibleExtent();
    if (v.width() <= 0 || v.height() <= 0) return {};
    const double sx = pixels.width() / v.width(), sy = pixels.height() / v.height();
    return QTransform(sx, 0, 0, -sy, pixels.left() - v.left * sx, pixels.top() + v.top * sy);
}

QPainterPath ScreenMap::CountyOutline(const std::string& fips) const {
    const int record = RecordOf(fips);
    QPainterPath out;
    if (record < 0) return out;
    const auto& shape = counties_->shape(record);
    for (const Frame& frame : frames_) {
        if (!frame.map.visibleExtent().intersects(shape.bounds)) continue;
        QPainterPath clip;
        clip.addRect(frame.pixels);
        out.addPath(frame.MapToPixels().map(shape.path).intersected(clip));
    }
    return out;
}

QRect ScreenMap::CountyBounds(const std::string& fips) const {
    const int record = RecordOf(fips);
    if (record < 0) return {};
    const MapRect b = counties_->shape(record).bounds;
    for (const Frame& frame : frames_) {
        if (!frame.map.visibleExtent().intersects(b)) continue;
        const QRectF drawn = frame.MapToPixels().mapRect(QRectF(b.left, b.bottom, b.width(), b.height()));
        return drawn.toAlignedRect().intersected(frame.pixels);
    }
    return {};
}

bool WriteScreenMap(const std::vector<ScreenRow>& rows, const std::string& title, const std::string& subtitle,
                    const std::filesystem::path& png, std::string& error,
                    const std::vector<std::filesystem::path>& inputs) {
    const std::unique_ptr<ScreenMap> map = ScreenMap::Draw(rows, title, subtitle, error);
    if (!map) return false;
    try {
        const QImage& image = map->image();
        platform::WriteFileAtomically(
            png, [&image](QIODevice& out) { return image.save(&out, "PNG"); }, inputs);
    } catch (const platform::TextFileError& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace verrane::screening
