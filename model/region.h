#pragma once
// The region around a project county: which counties lie within a radius of
// its centroid, judged on each county's centroid and extent box from the
// coordinate table (planar, in miles).
namespace verrane::model {

// The largest radius of a region, in whole miles.
inline constexpr int kMaxRadiusMiles = 250;

// The whole miles a stored radius moves the radius slider to: halves to even,
// within 0 to kMaxRadiusMiles, 0 for a value that is not a number.
int SliderMiles(double storedRadius);

// One county of the coordinate table; a missing value is NaN, which every
// test below rejects.
struct CountyExtent {
    double x = 0, y = 0;                              // centroid
    double left = 0, right = 0, bottom = 0, top = 0;  // extent box
};

// Whether the county belongs to the region of `radius` miles around (x0, y0):
// its box overlaps the square of that half width, and its centroid or one of
// the box corners (left-bottom, right-top, right-bottom, left-top, tried in
// this order) lies at most `radius` away.
bool WithinRadius(const CountyExtent& county, double x0, double y0, double radius);

}  // namespace verrane::model
