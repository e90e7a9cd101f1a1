#pragma once
// Hazard probabilities: hurricane wind exceedance per threshold and tornado
// strike probability per F-scale class.
#include <array>
#include <cstdint>
#include <string_view>

#include "model/tornado_stats.h"

namespace verrane::model {

// The states and territories whose projects face hurricanes, as the state
// table names them; the importer checks that each one is there.
inline constexpr std::array<std::string_view, 25> kHurricaneProneStates{"Texas",
                                                                        "Louisiana",
                                                                        "Mississippi",
                                                                        "Alabama",
                                                                        "Florida",
                                                                        "Georgia",
                                                                        "South Carolina",
                                                                        "North Carolina",
                                                                        "Virginia",
                                                                        "Maryland",
                                                                        "District of Columbia",
                                                                        "Delaware",
                                                                        "Pennsylvania",
                                                                        "New Jersey",
                                                                        "New York",
                                                                        "Connecticut",
                                                                        "Rhode Island",
                                                                        "Massachusetts",
                                                                        "Vermont",
                                                                        "New Hampshire",
                                                                        "Maine",
                                                                        "Virgin Islands",
                                                                        "Puerto Rico",
                                                                        "Guam",
                                                                        "American Samoa"};

// Whether a state or territory faces hurricanes (its name compared exactly).
bool IsHurricaneProne(std::string_view stateName);

// The hurricane design wind speed the analysis takes from a county record's
// value: the value, or 0 (no hurricane hazard) when the record has none
// (NaN) or it is not finite.
double HurricaneWindOf(double recordValue);

// A region whose record holds fewer F3 tornadoes than this is insufficient.
inline constexpr double kSufficientF3Count = 16;

// Appended by the caller when FProbsResult::insufficient is set (spelled as
// the reports have always printed it).
extern const char* const kInsufficientNote;
// Appended by the caller when FProbsResult::lacksData is set.
extern const char* const kLacksDataNote;

// Annual probability that the hurricane wind exceeds each threshold; element 9
// is always 0. A design wind speed that is not positive (a county without
// hurricane data) gives ten zeros.
std::array<double, 10> HProbs(double dwind, const std::array<int, 9>& thresholds, std::string_view projectStateName);

struct FProbsResult {
    float reportCountyArea = 0;
    double reportRegionArea = 0;
    int16_t reportRecordYears = 0;
    std::array<double, 6> reportCountByF{}, annualCountByF{}, reportPathLengthByF{}, reportPathAreaByF{},
        annualPathAreaByF{}, effectiveAreaByF{}, strikeProbabilityByF{};
    bool insufficient = false;  // fewer than kSufficientF3Count F3 tornadoes
    bool lacksData = false;     // a class has tornadoes but years or areas are missing
};

// R1..R4 per class from the pooled statistics and the building's plan
// dimensions (feet). A class whose record lacks years or areas gets 0 and sets
// lacksData; no result is ever infinite or NaN.
FProbsResult FProbs(const TornadoStats& stats, float buildingLength, float buildingWidth);

}  // namespace verrane::model
