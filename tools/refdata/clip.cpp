// Lengths of straight tornado tracks inside county polygons, by GEOS.
#include <geos_c.h>

#include <algorithm>
#include <string>

#include "refdata.h"

namespace refdata {

namespace {

void geos_message(const char* fmt, ...) {
    // GEOS reports problems through the return values we test; its messages
    // would only repeat them on the console.
    (void)fmt;
}

}  // namespace

struct TrackClipper::Impl {
    GEOSContextHandle_t ctx = nullptr;
    std::vector<GEOSGeometry*> shapes;  // one per county, valid
    std::vector<Box> boxes;

    GEOSGeometry* ring(const Ring& r) {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, unsigned(r.size() + 1), 2);
        for (size_t i = 0; i <= r.size(); ++i) {
            const Pt& p = r[i % r.size()];
            GEOSCoordSeq_setXY_r(ctx, seq, unsigned(i), p.x, p.y);
        }
        return GEOSGeom_createLinearRing_r(ctx, seq);
    }

    GEOSGeometry* shape(const MultiPolygon& m) {
        std::vector<GEOSGeometry*> polys;
        for (const Polygon& p : m) {
            if (p.rings.empty() || p.rings[0].size() < 3) continue;
            std::vector<GEOSGeometry*> holes;
            for (size_t k = 1; k < p.rings.size(); ++k)
                if (p.rings[k].size() >= 3) holes.push_back(ring(p.rings[k]));
            polys.push_back(GEOSGeom_createPolygon_r(ctx, ring(p.rings[0]), holes.data(), unsigned(holes.size())));
        }
        GEOSGeometry* g = GEOSGeom_createCollection_r(ctx, GEOS_MULTIPOLYGON, polys.data(), unsigned(polys.size()));
        if (g && GEOSisValid_r(ctx, g) != 1) {
            // The simplified boundaries can touch themselves; repair once, here.
            GEOSGeometry* fixed = GEOSMakeValid_r(ctx, g);
            GEOSGeom_destroy_r(ctx, g);
            g = fixed;
        }
        if (!g) throw Error("cannot build a county polygon for track clipping");
        return g;
    }
};

TrackClipper::TrackClipper(const std::vector<County>& counties) : impl_(new Impl) {
    impl_->ctx = GEOS_init_r();
    GEOSContext_setNoticeHandler_r(impl_->ctx, geos_message);
    GEOSContext_setErrorHandler_r(impl_->ctx, geos_message);
    try {
        for (const County& c : counties) {
            impl_->shapes.push_back(impl_->shape(c.shape));
            impl_->boxes.push_back(c.box);
        }
    } catch (...) {
        for (GEOSGeometry* g : impl_->shapes) GEOSGeom_destroy_r(impl_->ctx, g);
        GEOS_finish_r(impl_->ctx);
        delete impl_;
        throw;
    }
}

TrackClipper::~TrackClipper() {
    for (GEOSGeometry* g : impl_->shapes) GEOSGeom_destroy_r(impl_->ctx, g);
    GEOS_finish_r(impl_->ctx);
    delete impl_;
}

double TrackClipper::inside(size_t county, Pt a, Pt b) const {
    if (county >= impl_->shapes.size() || (a.x == b.x && a.y == b.y)) return 0;
    const Box& bx = impl_->boxes[county];
    if (std::max(a.x, b.x) < bx.left || std::min(a.x, b.x) > bx.right || std::max(a.y, b.y) < bx.bottom ||
        std::min(a.y, b.y) > bx.top)
        return 0;
    GEOSContextHandle_t ctx = impl_->ctx;
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx, 2, 2);
    GEOSCoordSeq_setXY_r(ctx, seq, 0, a.x, a.y);
    GEOSCoordSeq_setXY_r(ctx, seq, 1, b.x, b.y);
    GEOSGeometry* line = GEOSGeom_createLineString_r(ctx, seq);
    GEOSGeometry* cut = line ? GEOSIntersection_r(ctx, line, impl_->shapes[county]) : nullptr;
    double len = 0;
    bool ok = cut && GEOSLength_r(ctx, cut, &len) == 1;
    if (cut) GEOSGeom_destroy_r(ctx, cut);
    if (line) GEOSGeom_destroy_r(ctx, line);
    if (!ok) throw Error("track clipping failed for county " + std::to_string(county));
    return len;
}

}  // namespace refdata
