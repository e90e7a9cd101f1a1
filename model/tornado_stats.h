#pragma once
// Pooling of the per-county tornado record over the counties of the sample
// region. The caller walks the database; this class only aggregates.
#include <array>
#include <cstdint>
#include <string>

namespace verrane::model {

// One row of table `tornado`. Negative fields mean "no data".
struct TornadoRow {
    std::string fips;
    double ryears = 0;
    std::array<double, 6> fcount{}, flenft{}, fac{};
    std::array<std::array<double, 24>, 6> fcnt{};  // Fcnt{f}hr{h}
};

// One row of table `Counties`: FIPS, AREA (square miles, negative = no data).
struct CountyAreaRow {
    std::string fips;
    double area = 0;
};

struct TornadoStats {
    std::array<double, 6> countByF{}, avgPathLengthByF{}, avgPathAreaByF{};
    std::array<std::array<double, 24>, 6> hourlyFractionByF{};
    int16_t recordYears = 0;
    double sampleRegionArea = 0;
    float countyArea = 0;
};

class TornadoStatsBuilder {
public:
    // The first row sets the record years (16-bit, halves to even); throws
    // std::overflow_error when its RYEARS does not fit.
    void AddTornadoRow(const TornadoRow& row);

    // Sum of the class counts, rounded halves to even. Wider than 16 bits: a
    // whole state pooled over many years can exceed 32767.
    long long Total() const;

    // The county areas are read only when there is at least one tornado.
    bool NeedsCountyAreas() const;

    // Adds the county to the region area; the project county (matched on the
    // full five-character FIPS, so equal county codes of two states cannot be
    // confused) also gives the county area.
    void AddCountyArea(const CountyAreaRow& row, const std::string& projectFips);

    // Averages and hourly fractions. With no tornadoes the raw sums are kept and
    // both areas are 0.
    TornadoStats Finish() const;

private:
    bool haveYears_ = false;
    int16_t years_ = 0;
    std::array<double, 6> count_{}, length_{}, area_{};
    std::array<std::array<double, 24>, 6> hourly_{};
    double regionArea_ = 0;
    float countyArea_ = 0;
};

}  // namespace verrane::model
