#pragma once
// The region around a project county: which counties lie within a radius of
// its centroid, judged on each county's centroid and extent box from the
// coordinate table (planar, in miles).
namespace verrane::model {

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
