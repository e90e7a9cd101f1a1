#include "model/region.h"

#include <gtest/gtest.h>

#include <limits>

namespace verrane::model {
namespace {

// A stored radius moves the slider to whole miles: halves to even, held to
// the slider's range, and nothing for a value that is not a number.
TEST(SliderMiles, HalvesToEvenWithinTheSlider) {
    EXPECT_EQ(SliderMiles(50), 50);
    EXPECT_EQ(SliderMiles(2.5), 2);
    EXPECT_EQ(SliderMiles(3.5), 4);
    EXPECT_EQ(SliderMiles(-3), 0);
    EXPECT_EQ(SliderMiles(250.4), 250);
    EXPECT_EQ(SliderMiles(1e9), kMaxRadiusMiles);
    EXPECT_EQ(SliderMiles(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(SliderMiles(std::numeric_limits<double>::infinity()), 0);
}

// A county belongs to the region when its centroid or a corner of its box
// lies within the radius; a box with a missing value belongs to none.
TEST(WithinRadius, CentroidOrCornerAndNoMissingValues) {
    const CountyExtent square{10, 0, 5, 15, -5, 5};
    EXPECT_TRUE(WithinRadius(square, 0, 0, 10));   // the centroid, exactly at the radius
    EXPECT_TRUE(WithinRadius(square, 0, 0, 7.1));  // the left-bottom corner at 7.07
    EXPECT_FALSE(WithinRadius(square, 0, 0, 7));
    CountyExtent missing = square;
    missing.top = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(WithinRadius(missing, 10, 0, 100));
}

}  // namespace
}  // namespace verrane::model
