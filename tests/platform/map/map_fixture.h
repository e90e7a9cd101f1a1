#pragma once
// Writes small shapefiles with shapelib, so the map can be tested without
// the shipped data.

#include <filesystem>
#include <string>
#include <vector>

#include <shapefil.h>

namespace maptest {

struct Ring {
    std::vector<double> x, y;
};

inline Ring Square(double left, double bottom, double side) {
    // Clockwise, as outer rings are stored.
    return {{left, left, left + side, left + side, left}, {bottom, bottom + side, bottom + side, bottom, bottom}};
}

struct Feature {
    std::vector<Ring> parts;
    std::vector<std::string> values;
};

// One shapefile (.shp, .shx, .dbf) of the given type with text fields.
inline void WriteShapefile(const std::filesystem::path& shp, int type, const std::vector<std::string>& fields,
                           const std::vector<Feature>& features) {
    const std::string base = shp.string();
    SHPHandle h = SHPCreate(base.c_str(), type);
    DBFHandle d = DBFCreate(base.c_str());
    for (const auto& f : fields) DBFAddField(d, f.c_str(), FTString, 40, 0);
    for (size_t i = 0; i < features.size(); ++i) {
        const auto& f = features[i];
        std::vector<int> starts;
        std::vector<double> xs, ys;
        for (const auto& r : f.parts) {
            starts.push_back(static_cast<int>(xs.size()));
            xs.insert(xs.end(), r.x.begin(), r.x.end());
            ys.insert(ys.end(), r.y.begin(), r.y.end());
        }
        SHPObject* o = SHPCreateObject(type, -1, static_cast<int>(starts.size()), starts.data(), nullptr,
                                       static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr, nullptr);
        const int id = SHPWriteObject(h, -1, o);
        SHPDestroyObject(o);
        for (size_t k = 0; k < f.values.size(); ++k)
            DBFWriteStringAttribute(d, id, static_cast<int>(k), f.values[k].c_str());
    }
    SHPClose(h);
    DBFClose(d);
}

// Counties: a 3 x 2 grid of 10-mile squares, the left two columns in Kansas
// (20), the right one in Arkansas (05); record 6 is a Texas county (48) with
// a lake cut out of it. States and a state line along x = 20 to match.
struct Fixture {
    std::filesystem::path dir, counties, states, statline;

    explicit Fixture(const std::filesystem::path& where) : dir(where) {
        std::filesystem::create_directories(dir);
        counties = dir / "Counties.shp";
        states = dir / "states.shp";
        statline = dir / "statline.shp";
        const char* names[] = {"Allen", "Barton", "Clay", "Dent", "Ellis", "Ford"};
        std::vector<Feature> cs;
        for (int i = 0; i < 6; ++i) {
            const int col = i % 3, row = i / 3;
            const bool kansas = col < 2;
            const std::string st = kansas ? "20" : "05";
            const std::string cf = "00" + std::to_string(i + 1);
            cs.push_back(
                {{Square(col * 10.0, row * 10.0, 10)}, {kansas ? "Kansas" : "Arkansas", st, names[i], cf, st + cf}});
        }
        Ring lake{{45, 55, 55, 45, 45}, {5, 5, 15, 15, 5}};  // anticlockwise: a hole
        cs.push_back({{Square(40, 0, 20), lake}, {"Texas", "48", "Lakeside", "007", "48007"}});
        WriteShapefile(counties, SHPT_POLYGON, {"STATE_NAME", "STATE_FIPS", "NAME", "CNTY_FIPS", "FIPS"}, cs);
        WriteShapefile(states, SHPT_POLYGON, {"STATE_NAME", "STATE_FIPS"},
                       {{{Ring{{0, 0, 20, 20, 0}, {0, 20, 20, 0, 0}}}, {"Kansas", "20"}},
                        {{Ring{{20, 20, 30, 30, 20}, {0, 20, 20, 0, 0}}}, {"Arkansas", "05"}},
                        {{Square(40, 0, 20)}, {"Texas", "48"}}});
        WriteShapefile(statline, SHPT_ARC, {"ID"}, {{{Ring{{20, 20}, {0, 20}}}, {"1"}}});
    }
};

}  // namespace maptest
