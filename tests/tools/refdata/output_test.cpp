// Writers and readers on small hand-made inputs: TopoJSON decoding, state
// lines, zip entries, wind speed interpolation, database and shapefiles.
#include <gtest/gtest.h>
#include <shapefil.h>
#include <sqlite3.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "refdata.h"

using namespace refdata;
namespace fs = std::filesystem;

namespace {

fs::path scratch(const char* name) {
    fs::path d = fs::temp_directory_path() / name;
    fs::remove_all(d);
    fs::create_directories(d);
    return d;
}

// Two unit squares side by side sharing arc 0 (the line x = 1), quantized
// with scale 0.5 so that integer steps of 2 make one degree.
const char* kTwoStates = R"({
  "type": "Topology",
  "transform": {"scale": [0.5, 0.5], "translate": [-100, 40]},
  "arcs": [[[2, 0], [0, 2]], [[2, 2], [-2, 0], [0, -2], [2, 0]], [[2, 0], [2, 0], [0, 2], [-2, 0]]],
  "objects": {"states": {"type": "GeometryCollection", "geometries": [
    {"type": "Polygon", "id": "20", "properties": {"name": "Kansas"}, "arcs": [[0, 1]]},
    {"type": "MultiPolygon", "id": "29", "properties": {"name": "Missouri"}, "arcs": [[[2, -1]]]}]}}
})";

TEST(Topology, DecodesQuantizedArcsAndSharedBoundaries) {
    fs::path d = scratch("refdata_topo");
    std::ofstream(d / "t.json") << kTwoStates;
    Topology t = read_topology((d / "t.json").string());
    ASSERT_EQ(t.states.size(), 2u);
    EXPECT_EQ(t.states[1].name, "Missouri");
    auto rings = feature_rings(t, t.states[1]);  // arc 2 then arc 0 reversed
    ASSERT_EQ(rings.size(), 1u);
    ASSERT_EQ(rings[0][0].size(), 4u) << "shared end points kept once, closing point dropped";
    EXPECT_DOUBLE_EQ(rings[0][0][0].lon, -99);
    EXPECT_DOUBLE_EQ(rings[0][0][1].lon, -98);
    EXPECT_DOUBLE_EQ(rings[0][0][3].lat, 41);
    std::vector<StateLine> lines = state_lines(t);
    ASSERT_EQ(lines.size(), 1u) << "only the arc both states use";
    EXPECT_EQ(lines[0].state1, "20");
    EXPECT_EQ(lines[0].state2, "29");
    EXPECT_EQ(lines[0].points.size(), 2u);
    fs::remove_all(d);
}

std::string le(uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xff);
    return s;
}

// A zip archive holding `name` with `data`, stored or deflated.
std::string make_zip(const std::string& name, const std::string& data, bool compress) {
    std::string body = data;
    if (compress) {
        z_stream s{};
        deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        body.assign(deflateBound(&s, uLong(data.size())), '\0');
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        s.avail_in = uInt(data.size());
        s.next_out = reinterpret_cast<Bytef*>(body.data());
        s.avail_out = uInt(body.size());
        deflate(&s, Z_FINISH);
        body.resize(s.total_out);
        deflateEnd(&s);
    }
    uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size())));
    int method = compress ? 8 : 0;
    std::string local = le(0x04034b50, 4) + le(20, 2) + le(0, 2) + le(method, 2) + le(0, 4) + le(crc, 4) +
                        le(uint32_t(body.size()), 4) + le(uint32_t(data.size()), 4) + le(uint32_t(name.size()), 2) +
                        le(0, 2) + name + body;
    std::string central = le(0x02014b50, 4) + le(20, 2) + le(20, 2) + le(0, 2) + le(method, 2) + le(0, 4) + le(crc, 4) +
                          le(uint32_t(body.size()), 4) + le(uint32_t(data.size()), 4) + le(uint32_t(name.size()), 2) +
                          le(0, 2) + le(0, 2) + le(0, 2) + le(0, 2) + le(0, 4) + le(0, 4) + name;
    std::string end = le(0x06054b50, 4) + le(0, 2) + le(0, 2) + le(1, 2) + le(1, 2) + le(uint32_t(central.size()), 4) +
                      le(uint32_t(local.size()), 4) + le(0, 2);
    return local + central + end;
}

TEST(Zip, ReadsStoredAndDeflatedEntriesAndRejectsDamage) {
    fs::path d = scratch("refdata_zip");
    std::string text = "om,yr\n" + std::string(5000, 'x') + "\n";
    std::ofstream(d / "s.zip", std::ios::binary) << make_zip("a.csv", text, false);
    std::ofstream(d / "d.zip", std::ios::binary) << make_zip("dir/b.csv", text, true);
    EXPECT_EQ(read_zip_entry((d / "s.zip").string(), ".csv"), text);
    EXPECT_EQ(read_zip_entry((d / "d.zip").string(), ".csv"), text);
    EXPECT_THROW(read_zip_entry((d / "d.zip").string(), ".txt"), Error);
    std::string z = make_zip("b.csv", text, true);
    z[40] ^= 0x55;  // inside the compressed stream
    z[41] ^= 0x55;
    std::ofstream(d / "bad.zip", std::ios::binary) << z;
    EXPECT_THROW(read_zip_entry((d / "bad.zip").string(), ".csv"), Error);
    std::ofstream(d / "cut.zip", std::ios::binary) << make_zip("b.csv", text, true).substr(30);
    EXPECT_THROW(read_zip_entry((d / "cut.zip").string(), ".csv"), Error);
    fs::remove_all(d);
}

County at(int state, double lat, double lon) {
    County c;
    c.state_fips = state;
    c.center_ll = {lon, lat};
    return c;
}

TEST(HurricaneWind, InterpolatesNearTheCoastAndFloorsInland) {
    std::vector<WindPoint> pts = {{30.0, -88.0, 140, true},
                                  {30.0, -87.9, 130, true},
                                  {31.0, -88.0, 100, true},
                                  {25.76, -80.19, 146, false},
                                  {37.77, -122.42, 85, false}};
    bool unverified = true;
    EXPECT_EQ(hur_wind_at(at(1, 30.0, -88.0), pts, unverified), 140) << "on a sample point";
    EXPECT_FALSE(unverified);
    double mid = hur_wind_at(at(1, 30.0, -87.95), pts, unverified);
    EXPECT_GT(mid, 130);
    EXPECT_LT(mid, 140);
    EXPECT_EQ(hur_wind_at(at(20, 38.5, -98.0), pts, unverified), 90) << "far inland: interior value";
    // 120 miles from the nearest point: most of the excess has faded.
    double faded = hur_wind_at(at(1, 32.74, -88.0), pts, unverified);
    EXPECT_GE(faded, 90);
    EXPECT_LT(faded, 100);
    EXPECT_EQ(hur_wind_at(at(12, 25.7, -80.3), pts, unverified), 146);
    EXPECT_TRUE(unverified) << "resting on an unverified anchor";
    EXPECT_EQ(hur_wind_at(at(6, 34, -118), pts, unverified), 85) << "West Coast region";
    EXPECT_TRUE(unverified);
}

TEST(Writers, DatabaseAndShapefilesHoldWhatTheProgramReads) {
    fs::path d = scratch("refdata_writers");
    BuildResult b;
    County c;
    c.state_name = "Kansas";
    c.name = "Doña Ana";  // non-ASCII survives both stores
    c.state_fips = 20;
    c.cnty_fips = 1;
    c.fips = "20001";
    c.area = 100;
    c.time_zone = "Central Standard Time";
    c.daylitsave = 1;
    c.hur_wind = 90;
    // Counter-clockwise outer ring with a clockwise hole: the writer must flip both.
    c.shape = {Polygon{{Ring{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, Ring{{4, 4}, {4, 6}, {6, 6}, {6, 4}}}}};
    c.center = centroid(c.shape);
    c.box = extent(c.shape);
    b.counties.push_back(c);
    b.states.push_back({"Kansas", 20, c.shape});
    b.lines.push_back({"20", "29", {{10, 0}, {10, 10}}});
    CountyTornado t;
    t.count[3] = 2;
    t.len_ft_sum[3] = 2 * 5280;
    t.len_known[3] = 2;
    t.hourly[3][17] = 2;
    b.tornado["20001"] = t;
    b.summary.first_year = 1950;
    b.summary.last_year = 2023;
    write_database((d / "verrane.sqlite").string(), b);
    write_shapefiles(d.string(), b);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open((d / "verrane.sqlite").c_str(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db,
                                 "SELECT c.Name, t.FCOUNT3, t.FLENFT3, t.FAC3, t.Fcnt3hr17, t.RYEARS, k.X_Coord "
                                 "FROM Counties c JOIN tornado t ON t.FIPS = c.FIPS JOIN cntycoor k ON k.Fips = c.FIPS",
                                 -1, &st, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "Doña Ana");
    EXPECT_EQ(sqlite3_column_double(st, 1), 2);
    EXPECT_EQ(sqlite3_column_double(st, 2), 5280);
    EXPECT_EQ(sqlite3_column_double(st, 3), -9) << "no width recorded for the class";
    EXPECT_EQ(sqlite3_column_double(st, 4), 2);
    EXPECT_EQ(sqlite3_column_int(st, 5), 74) << "the years the record spans";
    EXPECT_DOUBLE_EQ(sqlite3_column_double(st, 6), 5);
    sqlite3_finalize(st);
    sqlite3_close(db);
    EXPECT_FALSE(fs::exists(d / "verrane.sqlite.tmp"));

    SHPHandle shp = SHPOpen((d / "Counties").c_str(), "rb");
    DBFHandle dbf = DBFOpen((d / "Counties.dbf").c_str(), "rb");
    ASSERT_TRUE(shp && dbf);
    SHPObject* o = SHPReadObject(shp, 0);
    ASSERT_EQ(o->nParts, 2);
    ASSERT_EQ(o->nVertices, 10) << "each ring closed";
    Ring outer, hole;
    for (int i = 0; i < 4; ++i) outer.push_back({o->padfX[i], o->padfY[i]});
    for (int i = 5; i < 9; ++i) hole.push_back({o->padfX[i], o->padfY[i]});
    EXPECT_LT(signed_area(outer), 0) << "outer ring clockwise";
    EXPECT_GT(signed_area(hole), 0) << "hole counter-clockwise";
    SHPDestroyObject(o);
    const char* want[] = {"STATE_NAME", "STATE_FIPS", "NAME", "CNTY_FIPS", "FIPS"};
    ASSERT_EQ(DBFGetFieldCount(dbf), 5);
    for (int i = 0; i < 5; ++i) {
        char name[12] = {};
        DBFGetFieldInfo(dbf, i, name, nullptr, nullptr);
        EXPECT_STREQ(name, want[i]);
    }
    EXPECT_STREQ(DBFReadStringAttribute(dbf, 0, 1), "20");
    EXPECT_STREQ(DBFReadStringAttribute(dbf, 0, 2), "Doña Ana");
    EXPECT_STREQ(DBFReadStringAttribute(dbf, 0, 3), "001");
    EXPECT_STREQ(DBFReadStringAttribute(dbf, 0, 4), "20001");
    SHPClose(shp);
    DBFClose(dbf);

    SHPHandle lines = SHPOpen((d / "statline").c_str(), "rb");
    ASSERT_TRUE(lines);
    int n = 0, type = 0;
    SHPGetInfo(lines, &n, &type, nullptr, nullptr);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(type, SHPT_ARC);
    SHPClose(lines);
    fs::remove_all(d);
}

}  // namespace
