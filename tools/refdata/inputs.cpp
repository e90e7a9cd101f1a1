// Readers of the raw sources: TopoJSON atlas, zip archive, CSV, gazetteer,
// wind speed points.
#include <zlib.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <nlohmann/json.hpp>
#include <sstream>

#include "refdata.h"

namespace refdata {

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error("cannot open " + path);
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw Error("cannot read " + path);
    return ss.str();
}

std::vector<std::vector<std::vector<int>>> polygons_of(const nlohmann::json& g, const std::string& where) {
    std::vector<std::vector<std::vector<int>>> out;
    std::string type = g.value("type", "");
    auto rings = [&](const nlohmann::json& arr) {
        std::vector<std::vector<int>> rs;
        for (const auto& ring : arr) rs.push_back(ring.get<std::vector<int>>());
        return rs;
    };
    if (type == "Polygon") {
        out.push_back(rings(g.at("arcs")));
    } else if (type == "MultiPolygon") {
        for (const auto& p : g.at("arcs")) out.push_back(rings(p));
    } else {
        throw Error(where + ": geometry type '" + type + "' is not a polygon");
    }
    return out;
}

std::vector<TopoFeature> features_of(const nlohmann::json& obj, const std::string& where) {
    std::vector<TopoFeature> out;
    for (const auto& g : obj.at("geometries")) {
        TopoFeature f;
        f.id = g.at("id").get<std::string>();
        f.name = g.at("properties").at("name").get<std::string>();
        f.polygons = polygons_of(g, where + " " + f.id);
        out.push_back(std::move(f));
    }
    return out;
}

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

double to_double(const std::string& s, const std::string& where) {
    if (s.empty()) throw Error(where + ": empty number");
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) throw Error(where + ": '" + s + "' is not a number");
    return v;
}

}  // namespace

Topology read_topology(const std::string& path) {
    std::string text = slurp(path);
    nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (j.is_discarded()) throw Error(path + ": not valid JSON");
    Topology t;
    try {
        const auto& tr = j.at("transform");
        double sx = tr.at("scale")[0], sy = tr.at("scale")[1];
        double tx = tr.at("translate")[0], ty = tr.at("translate")[1];
        for (const auto& arc : j.at("arcs")) {
            std::vector<LonLat> pts;
            long x = 0, y = 0;  // quantized, delta-encoded
            for (const auto& p : arc) {
                x += p.at(0).get<long>();
                y += p.at(1).get<long>();
                pts.push_back({x * sx + tx, y * sy + ty});
            }
            t.arcs.push_back(std::move(pts));
        }
        const auto& objs = j.at("objects");
        if (objs.contains("counties")) t.counties = features_of(objs.at("counties"), path + " counties");
        t.states = features_of(objs.at("states"), path + " states");
    } catch (const nlohmann::json::exception& e) {
        throw Error(path + ": unexpected TopoJSON layout (" + e.what() + ")");
    }
    for (const auto* list : {&t.counties, &t.states})
        for (const TopoFeature& f : *list)
            for (const auto& poly : f.polygons)
                for (const auto& ring : poly)
                    for (int a : ring) {
                        long i = a < 0 ? ~long(a) : a;
                        if (i >= long(t.arcs.size())) throw Error(path + ": feature " + f.id + " names a missing arc");
                    }
    return t;
}

std::vector<std::vector<std::vector<LonLat>>> feature_rings(const Topology& t, const TopoFeature& f) {
    std::vector<std::vector<std::vector<LonLat>>> out;
    for (const auto& poly : f.polygons) {
        std::vector<std::vector<LonLat>> rings;
        for (const auto& ring : poly) {
            std::vector<LonLat> pts;
            for (int a : ring) {
                const auto& arc = t.arcs[a < 0 ? ~a : a];
                size_t n = arc.size();
                // Consecutive arcs share their end points; keep each point once.
                for (size_t k = 0; k < n; ++k) {
                    const LonLat& p = a < 0 ? arc[n - 1 - k] : arc[k];
                    if (k == 0 && !pts.empty()) continue;
                    pts.push_back(p);
                }
            }
            if (pts.size() >= 2 && pts.front().lon == pts.back().lon && pts.front().lat == pts.back().lat)
                pts.pop_back();
            if (pts.size() >= 3) rings.push_back(std::move(pts));
        }
        if (!rings.empty()) out.push_back(std::move(rings));
    }
    return out;
}

MultiPolygon map_feature(const Topology& t, const TopoFeature& f, const std::function<Pt(LonLat)>& to_plane) {
    MultiPolygon m;
    for (const auto& poly : feature_rings(t, f)) {
        Polygon p;
        for (const auto& ring : poly) {
            Ring out;
            for (const LonLat& ll : ring) out.push_back(to_plane(ll));
            p.rings.push_back(std::move(out));
        }
        m.push_back(std::move(p));
    }
    return m;
}

MultiPolygon project_feature(const Topology& t, const TopoFeature& f, Region r) {
    return map_feature(t, f, [r](LonLat ll) { return project(r, ll); });
}

std::string read_zip_entry(const std::string& zip_path, const std::string& suffix) {
    std::string z = slurp(zip_path);
    auto* d = reinterpret_cast<const unsigned char*>(z.data());
    size_t n = z.size();
    // End of central directory: last signature within the final 64 KiB + 22.
    size_t eocd = std::string::npos;
    for (size_t i = n >= 22 ? n - 22 : 0; i + 22 <= n; --i) {
        if (le32(d + i) == 0x06054b50) {
            eocd = i;
            break;
        }
        if (i == 0 || n - i > 65557) break;
    }
    if (eocd == std::string::npos) throw Error(zip_path + ": not a zip archive");
    uint16_t entries = le16(d + eocd + 10);
    size_t cd = le32(d + eocd + 16);
    for (uint16_t e = 0; e < entries; ++e) {
        if (cd + 46 > n || le32(d + cd) != 0x02014b50) throw Error(zip_path + ": damaged central directory");
        uint16_t method = le16(d + cd + 10);
        size_t csize = le32(d + cd + 20), usize = le32(d + cd + 24);
        size_t nlen = le16(d + cd + 28), xlen = le16(d + cd + 30), clen = le16(d + cd + 32);
        size_t local = le32(d + cd + 42);
        if (cd + 46 + nlen > n) throw Error(zip_path + ": damaged central directory");
        std::string name(z, cd + 46, nlen);
        cd += 46 + nlen + xlen + clen;
        if (name.size() < suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        if (local + 30 > n || le32(d + local) != 0x04034b50) throw Error(zip_path + ": damaged entry " + name);
        size_t data = local + 30 + le16(d + local + 26) + le16(d + local + 28);
        if (data + csize > n) throw Error(zip_path + ": entry " + name + " is truncated");
        if (method == 0) return std::string(z, data, csize);
        if (method != 8) throw Error(zip_path + ": entry " + name + " uses an unsupported compression method");
        std::string out(usize, '\0');
        z_stream s{};
        if (inflateInit2(&s, -MAX_WBITS) != Z_OK) throw Error("zlib initialisation failed");
        s.next_in = const_cast<Bytef*>(d + data);
        s.avail_in = uInt(csize);
        s.next_out = reinterpret_cast<Bytef*>(out.data());
        s.avail_out = uInt(usize);
        int rc = inflate(&s, Z_FINISH);
        size_t got = s.total_out;
        inflateEnd(&s);
        if (rc != Z_STREAM_END || got != usize) throw Error(zip_path + ": entry " + name + " does not inflate");
        return out;
    }
    throw Error(zip_path + ": no entry ending in " + suffix);
}

std::vector<std::string> split_csv(const std::string& line) {
    std::vector<std::string> out;
    std::string cur;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < line.size() && line[i + 1] == '"') {
                    cur += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                cur += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.push_back(std::move(cur));
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    out.push_back(std::move(cur));
    return out;
}

std::map<std::string, GazetteerRow> read_gazetteer(const std::string& path) {
    std::istringstream in(slurp(path));
    std::map<std::string, GazetteerRow> out;
    std::string line;
    int no = 0;
    while (std::getline(in, line)) {
        ++no;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f;
        size_t start = 0;
        for (size_t p; (p = line.find('|', start)) != std::string::npos; start = p + 1)
            f.push_back(line.substr(start, p - start));
        f.push_back(line.substr(start));
        std::string where = path + " line " + std::to_string(no);
        if (f.size() != 10) throw Error(where + ": expected 10 fields, found " + std::to_string(f.size()));
        GazetteerRow r;
        r.usps = f[0];
        r.geoid = f[1];
        r.name = f[3];
        r.aland_sqmi = to_double(f[6], where + " ALAND_SQMI");
        r.awater_sqmi = to_double(f[7], where + " AWATER_SQMI");
        r.lat = to_double(f[8], where + " INTPTLAT");
        r.lon = to_double(f[9], where + " INTPTLONG");
        if (r.geoid.size() != 5) throw Error(where + ": GEOID '" + r.geoid + "' is not 5 digits");
        out[r.geoid] = r;
    }
    return out;
}

std::vector<WindPoint> read_wind_points(const std::string& samples_csv, const std::string& anchors_csv) {
    std::vector<WindPoint> out;
    auto read = [&](const std::string& path, bool anchors) {
        std::istringstream in(slurp(path));
        std::string line;
        std::getline(in, line);
        std::vector<std::string> head = split_csv(line);
        auto col = [&](const std::string& name) {
            for (size_t i = 0; i < head.size(); ++i)
                if (head[i] == name) return i;
            throw Error(path + ": no column " + name);
        };
        size_t ilat = col("lat"), ilon = col("lon");
        size_t imph = col(anchors ? "basic_wind_mph" : "asce7_05_mph");
        size_t iflag = col(anchors ? "verified" : "status");
        int no = 1;
        while (std::getline(in, line)) {
            ++no;
            if (line.empty() || line == "\r") continue;
            std::vector<std::string> f = split_csv(line);
            std::string where = path + " line " + std::to_string(no);
            if (f.size() < head.size()) throw Error(where + ": too few fields");
            if (!anchors && f[iflag] != "ok") continue;
            WindPoint w;
            w.lat = to_double(f[ilat], where + " lat");
            w.lon = to_double(f[ilon], where + " lon");
            w.mph = to_double(f[imph], where + " mph");
            w.verified = anchors ? f[iflag] == "yes" : true;
            out.push_back(w);
        }
    };
    read(samples_csv, false);
    read(anchors_csv, true);
    return out;
}

}  // namespace refdata
