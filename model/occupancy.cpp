#include "model/occupancy.h"

namespace verrane::model {

int TimeZoneOffset(int timeZoneListIndex) { return timeZoneListIndex == 8 ? -15 : timeZoneListIndex - 1; }

std::array<float, 24> ToEasternStandardTime(const std::array<std::optional<float>, 24>& local, int timeZoneListIndex) {
    std::array<float, 24> est{};
    const int d = TimeZoneOffset(timeZoneListIndex);
    for (int h = 0; h < 24; ++h) {
        if (!local[h] || !(*local[h] >= 0.0f)) continue;
        // A full modulo, so that an out-of-table index can never leave 0..23.
        const int e = ((h + d) % 24 + 24) % 24;
        est[e] = *local[h];
    }
    return est;
}

std::array<float, 24> AverageDaylightSaving(const std::array<float, 24>& est) {
    std::array<float, 24> out{};
    for (int e = 0; e < 24; ++e) {
        const double a = RoundHalfEven(est[e]);
        const double b = RoundHalfEven(est[(e + 1) % 24]);
        out[e] = static_cast<float>((5.0 * a + 7.0 * b) / 12.0);
    }
    return out;
}

std::array<float, 24> TornadoHourlyOccupancy(const std::array<std::optional<float>, 24>& local, int timeZoneListIndex,
                                             bool daylightSaving) {
    const std::array<float, 24> est = ToEasternStandardTime(local, timeZoneListIndex);
    return daylightSaving ? AverageDaylightSaving(est) : est;
}

std::optional<int> TimeZoneIndex(std::string_view recordValue) {
    for (size_t z = 0; z < kTimeZoneRecords.size(); ++z)
        if (recordValue == kTimeZoneRecords[z]) return static_cast<int>(z);
    return std::nullopt;
}

}  // namespace verrane::model
