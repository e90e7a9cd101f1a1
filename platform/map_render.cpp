#include "platform/map.h"
// Drawing: rectangles, the value renderer, the map control and its painting.

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPen>
#include <QTransform>

namespace verrane::platform {

// ---------------------------------------------------------------- rectangles

MapRect MapRect::Union(const MapRect& a, const MapRect& b) {
    return {std::min(a.left, b.left), std::max(a.right, b.right), std::min(a.bottom, b.bottom), std::max(a.top, b.top)};
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

void MapControl::ZoomAt(double factor, double xTwips, double yTwips) {
    if (!std::isfinite(factor) || factor <= 0) return;
    MapRect all;
    bool any = false;
    for (const auto& l : layers_) {
        if (l->recordCount() == 0) continue;
        all = any ? MapRect::Union(all, l->extent()) : l->extent();
        any = true;
    }
    const MapRect v = visibleExtent();
    if (!any || v.width() <= 0) return;
    factor = std::clamp(factor, v.width() / (4 * all.width()), v.width() / (all.width() / 1000));
    const MapPoint p = ToMapPoint(xTwips, yTwips);
    SetExtent({p.x - (p.x - v.left) / factor, p.x + (v.right - p.x) / factor, p.y - (p.y - v.bottom) / factor,
               p.y + (v.top - p.y) / factor});
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

double MapControl::ToMapDistance(double twips) const { return twips / kTwipsPerPixel / viewFor(width_, height_).scale; }

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
        const Shape& s = contents_->shapes[static_cast<size_t>(r)];
        if (s.parts.empty() || !s.bounds.intersects(visible)) continue;
        const MapSymbol* sym = &own;
        if (field >= 0) {
            const int i = renderer->indexOf(contents_->attributes[static_cast<size_t>(r)][static_cast<size_t>(field)]);
            if (i >= 0) sym = &renderer->symbol(i);
        }
        switch (kind_) {
            case MapShapeKind::Polygon:
                p.setBrush(sym->style == kTransparentFill ? QBrush(Qt::NoBrush) : QBrush(qcolor(sym->color)));
                if (sym->outline || sym->style == kTransparentFill)
                    p.setPen(cosmeticPen(
                        sym->outlineColor.value_or(sym->style == kTransparentFill ? kOutlineGrey : kFillBorderGrey),
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
