// County attributes: state names, the city/county name rule, time zones and
// the hurricane design wind speed.
#include <algorithm>
#include <cmath>
#include <set>

#include "refdata.h"

namespace refdata {

namespace {

struct StateInfo {
    int fips;
    const char* postal;
};
constexpr StateInfo kStates[] = {{1, "AL"},  {2, "AK"},  {4, "AZ"},  {5, "AR"},  {6, "CA"},  {8, "CO"},  {9, "CT"},
                                 {10, "DE"}, {11, "DC"}, {12, "FL"}, {13, "GA"}, {15, "HI"}, {16, "ID"}, {17, "IL"},
                                 {18, "IN"}, {19, "IA"}, {20, "KS"}, {21, "KY"}, {22, "LA"}, {23, "ME"}, {24, "MD"},
                                 {25, "MA"}, {26, "MI"}, {27, "MN"}, {28, "MS"}, {29, "MO"}, {30, "MT"}, {31, "NE"},
                                 {32, "NV"}, {33, "NH"}, {34, "NJ"}, {35, "NM"}, {36, "NY"}, {37, "NC"}, {38, "ND"},
                                 {39, "OH"}, {40, "OK"}, {41, "OR"}, {42, "PA"}, {44, "RI"}, {45, "SC"}, {46, "SD"},
                                 {47, "TN"}, {48, "TX"}, {49, "UT"}, {50, "VT"}, {51, "VA"}, {53, "WA"}, {54, "WV"},
                                 {55, "WI"}, {56, "WY"}, {60, "AS"}, {66, "GU"}, {69, "MP"}, {72, "PR"}, {78, "VI"}};

constexpr const char* kAtlantic = "Atlantic Standard Time";
constexpr const char* kEastern = "Eastern Standard Time";
constexpr const char* kCentral = "Central Standard Time";
constexpr const char* kMountain = "Mountain Standard Time";
constexpr const char* kPacific = "Pacific Standard Time";
constexpr const char* kAlaska = "Alaska Standard Time";
constexpr const char* kHawaii = "Hawaii-Aleutian Standard Time";
constexpr const char* kSamoa = "Samoan Standard Time";
constexpr const char* kGuam = "Guam Standard Time";

// Counties whose zone differs from their state's. A county split between two
// zones takes the zone of most of its people (its seat as a rule).
struct Exception {
    int state;
    const char* zone;
    std::set<int> counties;
};
const std::vector<Exception>& exceptions() {
    static const std::vector<Exception> list = {
        // Florida west of the Apalachicola River.
        {12, kCentral, {5, 13, 33, 45, 59, 63, 91, 113, 131, 133}},
        // Indiana: the Chicago area and the Evansville area.
        {18, kCentral, {51, 73, 89, 91, 111, 123, 127, 129, 147, 149, 163, 173}},
        // Kentucky's western counties.
        {21, kCentral, {1,   3,   7,   9,   27,  31,  33,  35,  39,  47,  53,  55,  57,  59,
                        61,  75,  83,  85,  87,  91,  99,  101, 105, 107, 139, 141, 143, 145,
                        149, 157, 169, 171, 177, 183, 207, 213, 219, 221, 225, 227, 233}},
        // Tennessee's eastern counties.
        {47, kEastern, {1,  9,   11,  13,  19,  25,  29,  57,  59,  63,  65,  67,  73,  89,  91,
                        93, 105, 107, 121, 123, 129, 139, 143, 145, 151, 155, 163, 171, 173, 179}},
        // Michigan's Upper Peninsula counties on the Wisconsin border.
        {26, kCentral, {43, 53, 71, 109}},
        // North Dakota's south-west.
        {38, kMountain, {1, 7, 11, 25, 33, 37, 41, 87, 89}},
        // South Dakota west of the Missouri.
        {46, kMountain, {7, 19, 31, 33, 41, 47, 55, 63, 71, 81, 93, 102, 103, 105, 117, 137}},
        // Nebraska's west.
        {31, kMountain, {5, 7, 13, 29, 33, 45, 49, 57, 69, 75, 91, 101, 105, 123, 135, 157, 161, 165}},
        // Kansas on the Colorado border.
        {20, kMountain, {71, 75, 181, 199}},
        // Texas: El Paso and Hudspeth.
        {48, kMountain, {141, 229}},
        // Idaho's panhandle.
        {16, kPacific, {9, 17, 21, 35, 49, 55, 57, 61, 69, 79}},
        // Oregon: Malheur.
        {41, kMountain, {45}},
        // Alaska: the Aleutians west of 169.5 W.
        {2, kHawaii, {16}},
    };
    return list;
}

const char* state_zone(int s) {
    switch (s) {
        case 1:
        case 5:
        case 17:
        case 19:
        case 20:
        case 22:
        case 27:
        case 28:
        case 29:
        case 31:
        case 38:
        case 40:
        case 46:
        case 47:
        case 48:
        case 55:
            return kCentral;
        case 4:
        case 8:
        case 16:
        case 30:
        case 35:
        case 49:
        case 56:
            return kMountain;
        case 6:
        case 32:
        case 41:
        case 53:
            return kPacific;
        case 2:
            return kAlaska;
        case 15:
            return kHawaii;
        case 72:
        case 78:
            return kAtlantic;
        case 60:
            return kSamoa;
        case 66:
        case 69:
            return kGuam;
        default:
            return kEastern;
    }
}

}  // namespace

const char* state_postal(int fips) {
    for (const StateInfo& s : kStates)
        if (s.fips == fips) return s.postal;
    return "";
}

int state_of_postal(const std::string& postal) {
    for (const StateInfo& s : kStates)
        if (postal == s.postal) return s.fips;
    return 0;
}

std::string state_display_name(int fips, const std::string& atlas_name) {
    if (fips == 69) return "Northern Mariana Islands";
    if (fips == 78) return "Virgin Islands";
    return atlas_name;
}

TimeZoneRule time_zone_of(int state, int county) {
    const char* zone = state_zone(state);
    for (const Exception& e : exceptions())
        if (e.state == state && e.counties.count(county)) zone = e.zone;
    bool no_dst = state == 4 || state == 15 || state == 72 || state == 78 || state == 66 || state == 60 || state == 69;
    return {zone, no_dst ? 0 : 1};
}

std::optional<std::string> zone_of_olson(const std::string& o) {
    auto starts = [&](const char* p) { return o.rfind(p, 0) == 0; };
    if (o == "America/Indiana/Knox" || o == "America/Indiana/Tell_City") return kCentral;
    if (o == "America/New_York" || o == "America/Detroit" || starts("America/Indiana/") ||
        starts("America/Kentucky/") || o == "America/Fort_Wayne" || o == "America/Louisville")
        return kEastern;
    if (o == "America/Chicago" || o == "America/Menominee" || starts("America/North_Dakota/")) return kCentral;
    if (o == "America/Denver" || o == "America/Boise" || o == "America/Phoenix") return kMountain;
    if (o == "America/Los_Angeles") return kPacific;
    if (o == "America/Anchorage" || o == "America/Juneau" || o == "America/Sitka" || o == "America/Nome" ||
        o == "America/Yakutat" || o == "America/Metlakatla")
        return kAlaska;
    if (o == "America/Adak" || o == "Pacific/Honolulu") return kHawaii;
    if (o == "America/Puerto_Rico" || o == "America/St_Thomas") return kAtlantic;
    if (o == "Pacific/Pago_Pago") return kSamoa;
    if (o == "Pacific/Guam" || o == "Pacific/Saipan") return kGuam;
    return std::nullopt;
}

void apply_city_rule(std::vector<County>& counties, const std::map<std::string, std::string>& gaz) {
    std::map<std::pair<std::string, std::string>, std::vector<size_t>> by_name;
    for (size_t i = 0; i < counties.size(); ++i) by_name[{counties[i].state_name, counties[i].name}].push_back(i);
    for (auto& [key, idx] : by_name) {
        if (idx.size() < 2) continue;
        for (size_t i : idx) {
            County& c = counties[i];
            auto g = gaz.find(c.fips);
            bool city = g != gaz.end()
                            ? (g->second.size() > 5 && g->second.compare(g->second.size() - 5, 5, " city") == 0)
                            : c.cnty_fips >= 500;
            if (city) c.name += " city";
        }
    }
    std::set<std::pair<std::string, std::string>> seen;
    for (const County& c : counties)
        if (!seen.insert({c.state_name, c.name}).second)
            throw Error("county name '" + c.name + "' occurs twice in " + c.state_name + " (FIPS " + c.fips + ")");
}

// East of the Rockies: inverse squared distance over the six nearest points
// within 150 miles, never below the interior value of 90 mph. The samples are
// dense along the coasts but sparse inland, where speeds fall away from the
// coast; so beyond 60 miles from the nearest point the excess over 90 fades
// linearly to nothing at 150 miles. Elsewhere the region's anchor.
double hur_wind_at(const County& c, const std::vector<WindPoint>& points, bool& unverified) {
    unverified = false;
    auto anchor = [&](double lat, double lon) {
        double best = 1e30, v = 0;
        for (const WindPoint& w : points) {
            double d = std::hypot(w.lat - lat, w.lon - lon);
            if (d < best) {
                best = d;
                v = w.mph;
                unverified = !w.verified;
            }
        }
        return v;
    };
    switch (c.state_fips) {
        case 15:
            return anchor(21.31, -157.86);
        case 72:
            return anchor(18.47, -66.12);
        case 78:
            return anchor(18.34, -64.93);
        case 66:
            return anchor(13.47, 144.75);
        case 69:
            return anchor(15.18, 145.75);
        case 60:
            return anchor(-14.28, -170.70);
        case 2:
            return anchor(61.22, -149.90);
        // West of the Rockies: the West Coast value.
        case 4:
        case 6:
        case 16:
        case 32:
        case 41:
        case 49:
        case 53:
            return anchor(37.77, -122.42);
        default:
            break;
    }
    constexpr double kPi = 3.14159265358979323846;
    constexpr double kInterior = 90, kReach = 150, kFull = 60;
    double lat = c.center_ll.lat, lon = c.center_ll.lon;
    double coslat = std::cos(lat * kPi / 180);
    struct Near {
        double d;
        size_t i;
    };
    std::vector<Near> near;
    for (size_t i = 0; i < points.size(); ++i) {
        const WindPoint& w = points[i];
        if (w.lat < 24 || w.lat > 50 || w.lon < -110 || w.lon > -60) continue;  // islands, west, Alaska
        double dx = (w.lon - lon) * coslat * 69.17, dy = (w.lat - lat) * 69.05;
        near.push_back({std::sqrt(dx * dx + dy * dy), i});
    }
    std::sort(near.begin(), near.end(),
              [](const Near& a, const Near& b) { return a.d < b.d || (a.d == b.d && a.i < b.i); });
    if (near.empty() || near[0].d > kReach) return kInterior;
    double sw = 0, sv = 0, su = 0;
    for (size_t k = 0; k < near.size() && k < 6 && near[k].d <= kReach; ++k) {
        const WindPoint& w = points[near[k].i];
        double wt = 1 / std::max(near[k].d * near[k].d, 0.01);
        sw += wt;
        sv += wt * w.mph;
        if (!w.verified) su += wt;
    }
    double fade = std::clamp((kReach - near[0].d) / (kReach - kFull), 0.0, 1.0);
    double v = std::round(kInterior + (sv / sw - kInterior) * fade);
    if (v <= kInterior) return kInterior;
    unverified = su > 0.05 * sw;
    return v;
}

}  // namespace refdata
