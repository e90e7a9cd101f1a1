#include "model/tornado_stats.h"

#include <cmath>

#include "model/rounding.h"

namespace verrane::model {

namespace {
// Negative means "no data" in the record; NaN is treated the same way.
bool HasData(double v) { return v >= 0.0; }
}  // namespace

void TornadoStatsBuilder::AddTornadoRow(const TornadoRow& row) {
    if (!haveYears_) {
        years_ = ToInt16HalfEven(row.ryears);
        haveYears_ = true;
    }
    for (int f = 0; f < 6; ++f)
        if (HasData(row.fcount[f])) count_[f] += row.fcount[f];
    // The raw count multiplies even when it is itself negative: only the length
    // or area field decides whether the product is added.
    for (int f = 0; f < 6; ++f) {
        const double p = row.flenft[f] * row.fcount[f];
        if (HasData(row.flenft[f]) && !std::isnan(p)) length_[f] += p;
    }
    for (int f = 0; f < 6; ++f) {
        const double p = row.fac[f] * row.fcount[f];
        if (HasData(row.fac[f]) && !std::isnan(p)) area_[f] += p;
    }
    for (int f = 0; f < 6; ++f)
        for (int h = 0; h < 24; ++h)
            if (HasData(row.fcnt[f][h])) hourly_[f][h] += row.fcnt[f][h];
}

long long TornadoStatsBuilder::Total() const {
    double sum = 0;
    for (double c : count_) sum += c;
    const double r = RoundHalfEven(sum);
    if (!(r < 9.0e18)) return r > 0 ? static_cast<long long>(9.0e18) : 0;
    return static_cast<long long>(r);
}

bool TornadoStatsBuilder::NeedsCountyAreas() const { return Total() > 0; }

void TornadoStatsBuilder::AddCountyArea(const CountyAreaRow& row, const std::string& projectFips) {
    if (HasData(row.area)) regionArea_ += row.area;
    // No sign test here: a county without an area shows up as lacking data later.
    if (row.fips == projectFips) countyArea_ = static_cast<float>(row.area);
}

TornadoStats TornadoStatsBuilder::Finish() const {
    TornadoStats s;
    s.countByF = count_;
    s.avgPathLengthByF = length_;
    s.avgPathAreaByF = area_;
    s.hourlyFractionByF = hourly_;
    s.recordYears = years_;
    if (!NeedsCountyAreas()) return s;  // raw sums, no areas

    s.sampleRegionArea = regionArea_;
    s.countyArea = countyArea_;
    for (int f = 0; f < 6; ++f) {
        if (count_[f] != 0) {
            s.avgPathLengthByF[f] = length_[f] / count_[f];
            s.avgPathAreaByF[f] = area_[f] / count_[f];
        }
    }
    for (int f = 0; f < 6; ++f) {
        double hourTotal = 0;
        for (double v : hourly_[f])
            if (HasData(v)) hourTotal += v;
        if (!(hourTotal > 0)) continue;
        for (double& v : s.hourlyFractionByF[f])
            if (HasData(v)) v /= hourTotal;
    }
    return s;
}

}  // namespace verrane::model
