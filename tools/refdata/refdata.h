// Reference data importer: turns the raw public sources (census atlas and
// gazetteer, storm prediction tornado record, wind speed samples) into the
// database and shapefiles the program reads from data/.
//
// Everything here throws refdata::Error with a message naming the file and
// what is wrong; nothing is allowed to crash on malformed input.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace refdata {

struct Error : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// ---------------------------------------------------------------- geometry

struct LonLat {
    double lon = 0, lat = 0;
};
struct Pt {
    double x = 0, y = 0;
};
using Ring = std::vector<Pt>;
struct Polygon {
    std::vector<Ring> rings;  // rings[0] outer, the rest holes
};
using MultiPolygon = std::vector<Polygon>;

struct Box {
    double left = 0, right = 0, bottom = 0, top = 0;
};

double signed_area(const Ring& r);   // positive when counter-clockwise
double area(const MultiPolygon& m);  // outer minus holes, any orientation
Pt centroid(const MultiPolygon& m);  // area-weighted
Box extent(const MultiPolygon& m);
bool contains(const MultiPolygon& m, Pt p);  // even-odd over every ring
bool segments_intersect(Pt a, Pt b, Pt c, Pt d);
// Point or straight segment a->b touches the polygon (inside or crossing).
bool track_hits(const MultiPolygon& m, const Box& box, Pt a, Pt b);
// Shortest distance from segment a->b to the polygon's boundary (0 if it hits).
double track_distance(const MultiPolygon& m, Pt a, Pt b);

// -------------------------------------------------------------- projection

// The six separate equal-area regions; each gets its own conic projection
// and a fixed offset so that no two regions come near each other in the plane.
enum class Region { Conus, Alaska, Hawaii, Caribbean, Marianas, Samoa };

struct Albers {
    double lon0, lat0, lat1, lat2;         // degrees
    double false_easting, false_northing;  // miles
};

Region region_of_state(int state_fips);
const Albers& projection_of(Region r);
// Planar miles; Alaska longitudes east of 180 are taken as lon - 360.
Pt project(Region r, LonLat ll);

// ---------------------------------------------------------------- topology

struct TopoFeature {
    std::string id;    // "01001" or "01"
    std::string name;  // as the atlas writes it
    // polygons -> rings -> arc indices (negative ~i = arc i reversed)
    std::vector<std::vector<std::vector<int>>> polygons;
};

struct Topology {
    std::vector<std::vector<LonLat>> arcs;
    std::vector<TopoFeature> counties, states;
};

Topology read_topology(const std::string& path);
std::vector<std::vector<std::vector<LonLat>>> feature_rings(const Topology& t, const TopoFeature& f);
// The feature's polygons with every point mapped by `to_plane`.
MultiPolygon map_feature(const Topology& t, const TopoFeature& f, const std::function<Pt(LonLat)>& to_plane);
MultiPolygon project_feature(const Topology& t, const TopoFeature& f, Region r);

// ------------------------------------------------------------------ inputs

// First entry of a zip archive whose name ends with `suffix` (stored or deflated).
std::string read_zip_entry(const std::string& zip_path, const std::string& suffix);

// Splits one CSV line (double quotes, doubled quotes inside).
std::vector<std::string> split_csv(const std::string& line);

struct GazetteerRow {
    std::string usps, geoid, name;
    double aland_sqmi = 0, awater_sqmi = 0;
    double lat = 0, lon = 0;  // internal point
};
std::map<std::string, GazetteerRow> read_gazetteer(const std::string& path);

struct WindPoint {
    double lat = 0, lon = 0, mph = 0;
    bool verified = true;
};
// Sample points with status "ok" and every anchor row.
std::vector<WindPoint> read_wind_points(const std::string& samples_csv, const std::string& anchors_csv);

// --------------------------------------------------------------- counties

struct TimeZoneRule {
    const char* zone;  // one of the nine time zone texts
    int daylitsave;    // 0 or 1
};
TimeZoneRule time_zone_of(int state_fips, int county_fips);
// "America/Chicago" -> "Central Standard Time" (for the cross-check only).
std::optional<std::string> zone_of_olson(const std::string& olson);

const char* state_postal(int state_fips);        // "" when unknown
int state_of_postal(const std::string& postal);  // 0 when unknown

struct County {
    std::string state_name, name, fips;
    int state_fips = 0, cnty_fips = 0;
    double area = -1;  // sq mi
    bool area_from_boundary = false;
    bool shape_substituted = false;  // boundary collapsed in the atlas; a square of the county's area instead
    std::string time_zone;
    int daylitsave = 0;
    double hur_wind = 0;
    bool wind_unverified = false;
    MultiPolygon shape;  // planar miles
    Pt center;
    Box box;
    LonLat center_ll;
};

struct State {
    std::string name;
    int fips = 0;
    MultiPolygon shape;
};

// The atlas's own names for state 69 and 78 are replaced by the ones the
// program's lists use.
std::string state_display_name(int state_fips, const std::string& atlas_name);

// Where an independent city shares its name with a county of the same state,
// the city's name gets " city". `gazetteer_names` maps FIPS to the census name
// ("Baltimore city"); FIPS without an entry fall back to county code >= 500.
void apply_city_rule(std::vector<County>& counties, const std::map<std::string, std::string>& gazetteer_names);

double hur_wind_at(const County& c, const std::vector<WindPoint>& points, bool& unverified);

// ---------------------------------------------------------------- tornado

// One row of the record, in either of the two formats the importer reads: the
// storm prediction center's own CSV (time zone codes, `mag` -9, `sg` segment
// and continuation rows) and the cleaned copy (zone names, `mag` NA, no `sg`:
// every row is a whole tornado).
struct TornadoRow {
    int yr = 0, om = 0;
    int mag = -1;               // -1 unknown
    int hour = 0;               // clock hour in the record's zone
    std::string tz;             // "America/Chicago", "America/Denver", "UTC"
    bool zone_assumed = false;  // zone code 0 (not recorded), read as Central
    std::string st;
    int stf = 0;
    double slat = 0, slon = 0, elat = 0, elon = 0, len = 0, wid = 0;
    int ns = 1, sn = 1, sg = 1;  // sg: 1 whole track, 2.. state segment, -9 further counties
    std::array<int, 4> f{0, 0, 0, 0};
    bool has_end() const { return !(elat == 0 && elon == 0); }
};

// One stretch of a tornado's track whose counties the record lists together:
// the whole track, or one state's segment of a multi-state track. `codes` are
// (state, county) pairs from the row and its continuation rows.
struct TrackPiece {
    TornadoRow row;
    std::vector<std::pair<int, int>> codes;
    bool crosses_states = false;  // whole track of a multi-state tornado with no segment rows
};

// A tornado as the record has it: `whole` holds its rating, time, length and
// width (counted once); `pieces` where its track lies.
struct Tornado {
    TornadoRow whole;
    std::vector<TrackPiece> pieces;
};

// How the length of one piece was shared among its counties.
enum class ShareRule { OneCounty, ByTrack, Equal, NoEndEqual, NearestCounty };

struct CountyTornado {
    std::array<double, 6> count{}, len_ft_sum{}, acres_sum{};  // sums of the county's shares
    std::array<double, 6> len_known{}, acres_known{};          // tornadoes with a recorded length / length and width
    std::array<std::array<double, 24>, 6> hourly{};
};

// Per class (F0..F5) sums over tornadoes, each counted once.
using ClassSums = std::array<double, 6>;

struct TornadoSummary {
    long rows_read = 0;
    long malformed = 0;
    long duplicates = 0;
    long orphan_rows = 0;     // segment or continuation rows with no whole-track row of their tornado
    long zone_assumed = 0;    // tornadoes whose zone code is 0, read as Central
    long tornadoes = 0;       // in the merged record
    long replaced = 0;        // tornadoes of earlier sources dropped because a later source holds their year
    long unknown_rating = 0;  // counted in class F0
    long unknown_zone = 0;
    long by_codes = 0;
    long by_geometry = 0;
    long by_nearest = 0;  // geometry missed, nearest county of the state within tolerance
    long no_county = 0;
    long old_codes = 0;      // county references rewritten to today's codes
    long invalid_codes = 0;  // county references to no county of the atlas
    long whole_track_rows = 0;
    long whole_track_other_states = 0;  // whole-track rows also counted in another state
    long segmented = 0;                 // multi-state tornadoes shared among their state segments
    long county_hits = 0;               // sum of counties over counted tornadoes
    long no_length = 0;                 // counted tornadoes with length 0 (unknown)
    long no_width = 0;                  // counted tornadoes with width 0 (unknown)
    std::map<ShareRule, long> pieces_by_rule;
    long zero_shares = 0;     // counted in a county its straight track only touches (share 0)
    long equal_no_track = 0;  // equal shares because the line lies in none of the counties (or is a point)
    int first_year = 0, last_year = 0;
    // Each tornado once: recorded length (feet) and area (acres) by class, the
    // unknown-rated separately (their class in the table is F0), and what the
    // table could not take (no county, unknown zone) by table class.
    ClassSums raw_len_ft{}, raw_acres{}, dropped_len_ft{}, dropped_acres{};
    double unrated_len_ft = 0, unrated_acres = 0;
    long counted() const { return by_codes + by_geometry + by_nearest; }
    int record_years() const { return first_year ? last_year - first_year + 1 : 0; }
};

// Hour in Eastern Standard Time; nullopt for a zone the record format does not define.
std::optional<int> est_hour(int hour, const std::string& tz);
// Old county codes of the record mapped to today's atlas.
std::string current_fips(const std::string& fips);

// Recorded path length in feet and area in acres of one tornado; 0 when not known.
double length_ft(const TornadoRow& r);
double path_acres(const TornadoRow& r);

// Parses the record (CSV text with header, either format). Malformed rows and
// exact duplicates are counted in the summary and left out.
std::vector<TornadoRow> parse_tornadoes(const std::string& csv_text, TornadoSummary& s);

// Gathers rows into tornadoes: a whole-track row (sg 1) with the state
// segment rows and continuation rows of the same year and number that follow.
std::vector<Tornado> group_tornadoes(const std::vector<TornadoRow>& rows, TornadoSummary& s);

// One file of the record, in the order given; a later file replaces every year it holds.
struct RecordSource {
    std::string name;
    std::vector<Tornado> tornadoes;
};
std::vector<Tornado> merge_sources(const std::vector<RecordSource>& sources, TornadoSummary& s);

// Reads one record file (CSV, or a zip holding one) into tornadoes.
RecordSource read_record_file(const std::string& path, TornadoSummary& s);

// Each tornado's recorded length and area, once, into the summary's raw sums.
void add_raw_totals(const std::vector<Tornado>& tornadoes, TornadoSummary& s);

// Averages written to FLENFTf / FACf: the county's shares over its count; 0
// for a class without tornadoes, -9 when none of the class's tornadoes has the
// length (width) recorded.
double average_length_ft(const CountyTornado& c, int f);
double average_acres(const CountyTornado& c, int f);

// One county a tornado touched: the tornado's number in the merged record
// (from 1), its year and number in that year, its class, the county, and the
// county's share of its path area (0 when the record gives no area).
struct TornadoCounty {
    long id = 0;
    int yr = 0, om = 0, cls = 0;
    std::string fips;
    double acres = 0;
};

// Counts every tornado in each county it touched (unknown ratings in F0) and
// shares its recorded length and area among those counties. Result is keyed
// by FIPS and holds every county of `counties`. When `touched` is given, each
// (tornado, county) pair counted is appended to it, in record order.
std::map<std::string, CountyTornado> assign_tornadoes(const std::vector<Tornado>& tornadoes,
                                                      const std::vector<County>& counties, TornadoSummary& s,
                                                      std::vector<TornadoCounty>* touched = nullptr);
// The same for a record of single rows (each row one tornado).
std::map<std::string, CountyTornado> assign_tornadoes(const std::vector<TornadoRow>& rows,
                                                      const std::vector<County>& counties, TornadoSummary& s);

// Lengths of the straight segment a->b inside each county polygon (planar miles).
class TrackClipper {
public:
    explicit TrackClipper(const std::vector<County>& counties);
    ~TrackClipper();
    TrackClipper(const TrackClipper&) = delete;
    TrackClipper& operator=(const TrackClipper&) = delete;
    double inside(size_t county, Pt a, Pt b) const;

private:
    struct Impl;
    Impl* impl_;
};

// ----------------------------------------------------------------- output

struct StateLine {
    std::string state1, state2;  // 2-digit FIPS, state1 < state2
    std::vector<Pt> points;
};
std::vector<StateLine> state_lines(const Topology& t);

struct BuildResult {
    std::vector<County> counties;
    std::vector<State> states;
    std::vector<StateLine> lines;
    std::map<std::string, CountyTornado> tornado;
    std::vector<TornadoCounty> tornado_counties;
    TornadoSummary summary;
    std::vector<std::string> record_sources;  // file names, in the order read
};

// The record files a build reads: the cleaned copy and SPC's 2023 file of the
// raw folder, then `extra_spc` in order.
std::vector<std::string> record_files(const std::string& raw_dir, const std::vector<std::string>& extra_spc);

// Reads the record files, merges them and sums each tornado once (no geometry).
std::vector<Tornado> read_record(const std::vector<std::string>& files, TornadoSummary& s);

// Reads the raw folder (layout of shared/data) and builds everything in memory.
BuildResult build_from_raw(const std::string& raw_dir, std::ostream& log,
                           const std::vector<std::string>& extra_spc = {});

// The meta key holding the database's identity, and how it is computed: the
// SHA-256 of the tables states, Counties, tornado, cntycoor and meta (without
// this key), each as "table NAME\n" then its rows in rowid order, a row being
// its fields each as N (null), I<integer>, R<%.17g> or T<text> followed by the
// unit separator 0x1F, and a line feed.
inline constexpr const char* kContentHashKey = "content_sha256";
std::string content_sha256(::sqlite3* db);

// Writes verrane.sqlite (via a temporary file renamed into place).
void write_database(const std::string& path, const BuildResult& b);
// Writes <dir>/Counties.*, states.*, statline.*.
void write_shapefiles(const std::string& dir, const BuildResult& b);

// Validates the shipped data; with raw_dir, also compares time zones with
// timezones/county_tzs.csv and the tornado table with the record read anew
// (with `extra_spc` as in the build). Prints every problem; returns their number.
int check_data(const std::string& data_dir, const std::string& raw_dir, std::ostream& out,
               const std::vector<std::string>& extra_spc = {});

}  // namespace refdata
