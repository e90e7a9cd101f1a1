#pragma once
// Hourly tornado occupancy on the common time base of the tornado record:
// Eastern Standard Time, optionally averaged over the daylight saving season.
#include <array>
#include <optional>
#include <string_view>

#include "model/rounding.h"

namespace verrane::model {

// Hours added to a local standard-time hour to reach Eastern Standard Time.
// Index 8 (Guam) is -15; any other index i gives i - 1, so no selection (-1)
// gives -2.
int TimeZoneOffset(int timeZoneListIndex);

// local[h]: people present at local clock hour h, std::nullopt when the box is
// empty. Empty and negative entries leave their target hour at 0.
std::array<float, 24> ToEasternStandardTime(const std::array<std::optional<float>, 24>& local, int timeZoneListIndex);

// Each hour becomes (5a + 7b) / 12 of itself (a) and the next hour (b), both
// rounded halves to even first; computed in double, stored as float.
std::array<float, 24> AverageDaylightSaving(const std::array<float, 24>& est);

// TornadoHourlyOccupancy as the building screen publishes it: the local hours
// on Eastern Standard Time, averaged over the daylight saving season when
// `daylightSaving` (the box ticked).
std::array<float, 24> TornadoHourlyOccupancy(const std::array<std::optional<float>, 24>& local, int timeZoneListIndex,
                                             bool daylightSaving);

// The county table's time zone values, in the order of the time zone list.
inline constexpr std::array<std::string_view, 9> kTimeZoneRecords{
    "Atlantic Standard Time",        "Eastern Standard Time", "Central Standard Time",
    "Mountain Standard Time",        "Pacific Standard Time", "Alaska Standard Time",
    "Hawaii-Aleutian Standard Time", "Samoan Standard Time",  "Guam Standard Time"};

// The time zone list position of a county record's time zone value;
// nullopt for a value the list does not have (the time zone is then left
// as it is).
std::optional<int> TimeZoneIndex(std::string_view recordValue);

}  // namespace verrane::model
