#pragma once
// The order in which the analysis screen lists its results, top to bottom:
// tornado benefits, hurricane benefits, total benefits, annualized cost, net
// benefits, benefit-cost ratio, lives saved, injuries avoided. Each row pairs
// the result box (Form6.Text1 index) with the caption beside it (Form6.Label2
// index).
#include <array>
#include <utility>

namespace verrane {

inline constexpr std::array<std::pair<int, int>, 8> kResultRows{
    {{0, 1}, {1, 11}, {5, 3}, {2, 2}, {3, 4}, {4, 0}, {6, 5}, {7, 6}}};

}  // namespace verrane
