// The county tornado record: parsing the storm prediction record and
// counting each tornado in the counties it touched.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unordered_set>

#include "refdata.h"

namespace refdata {

namespace {

bool parse_int(const std::string& s, int& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    long x = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || x < -1000000000L || x > 1000000000L) return false;
    v = int(x);
    return true;
}

bool parse_num(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return *end == '\0' && std::isfinite(v);
}

// Tolerance for points the simplified coastline leaves just outside every county.
constexpr double kNearestMiles = 10;

}  // namespace

std::optional<int> est_hour(int hour, const std::string& tz) {
    int offset;
    if (tz == "America/Chicago")
        offset = 1;
    else if (tz == "America/Denver")
        offset = 2;
    else if (tz == "UTC")
        offset = -5;
    else
        return std::nullopt;
    if (hour < 0 || hour > 23) return std::nullopt;
    return ((hour + offset) % 24 + 24) % 24;
}

std::string current_fips(const std::string& f) {
    if (f == "12025") return "12086";  // Dade -> Miami-Dade (1997)
    if (f == "46113") return "46102";  // Shannon -> Oglala Lakota (2015)
    if (f == "02270") return "02158";  // Wade Hampton -> Kusilvak (2015)
    if (f == "51515") return "51019";  // Bedford city merged into Bedford County (2013)
    return f;
}

double length_ft(const TornadoRow& r) { return r.len > 0 ? r.len * 5280 : 0; }

double path_acres(const TornadoRow& r) { return r.len > 0 && r.wid > 0 ? r.len * 5280 * (r.wid * 3) / 43560 : 0; }

namespace {

// The record's time zone, as a zone name: the cleaned copy writes names, the
// storm prediction center's own files codes (3 Central, 6 Mountain, 9 UTC,
// 0 not recorded).
std::string zone_name(const std::string& tz, bool& assumed) {
    assumed = false;
    if (tz == "3") return "America/Chicago";
    if (tz == "6") return "America/Denver";
    if (tz == "9") return "UTC";
    if (tz == "0") {
        assumed = true;  // the record's clock is Central in nearly every row
        return "America/Chicago";
    }
    return tz;
}

}  // namespace

std::vector<TornadoRow> parse_tornadoes(const std::string& text, TornadoSummary& s) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line)) throw Error("tornado record: empty file");
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);  // byte order mark of a re-saved file
    std::vector<std::string> head = split_csv(line);
    auto find = [&](const char* name) {
        for (size_t i = 0; i < head.size(); ++i)
            if (head[i] == name) return i;
        return head.size();
    };
    auto col = [&](const char* name) {
        size_t i = find(name);
        if (i == head.size()) throw Error(std::string("tornado record: no column '") + name + "'");
        return i;
    };
    const size_t iom = col("om"), iyr = col("yr"), itime = col("time"), itz = col("tz"), ist = col("st"),
                 istf = col("stf"), imag = col("mag"), islat = col("slat"), islon = col("slon"), ielat = col("elat"),
                 ielon = col("elon"), ilen = col("len"), iwid = col("wid"), ins = col("ns"), isn = col("sn"),
                 if1 = col("f1"), if2 = col("f2"), if3 = col("f3"), if4 = col("f4");
    const size_t isg = find("sg");  // only in the storm prediction center's own format
    std::vector<TornadoRow> rows;
    std::unordered_set<std::string> seen;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        ++s.rows_read;
        if (!seen.insert(line).second) {
            ++s.duplicates;
            continue;
        }
        std::vector<std::string> f = split_csv(line);
        if (f.size() != head.size()) {
            ++s.malformed;
            continue;
        }
        TornadoRow r;
        bool ok = parse_int(f[iom], r.om) && parse_int(f[iyr], r.yr) && parse_int(f[istf], r.stf) &&
                  parse_num(f[islat], r.slat) && parse_num(f[islon], r.slon) && parse_num(f[ielat], r.elat) &&
                  parse_num(f[ielon], r.elon) && parse_num(f[ilen], r.len) && parse_num(f[iwid], r.wid) &&
                  parse_int(f[ins], r.ns) && parse_int(f[isn], r.sn) && parse_int(f[if1], r.f[0]) &&
                  parse_int(f[if2], r.f[1]) && parse_int(f[if3], r.f[2]) && parse_int(f[if4], r.f[3]) &&
                  (isg == head.size() || parse_int(f[isg], r.sg));
        const std::string& t = f[itime];
        ok = ok && t.size() >= 2 && std::isdigit(static_cast<unsigned char>(t[0])) &&
             std::isdigit(static_cast<unsigned char>(t[1])) && (t.size() == 2 || t[2] == ':');
        if (ok) r.hour = (t[0] - '0') * 10 + (t[1] - '0');
        if (f[imag] == "NA" || f[imag].empty() || f[imag] == "-9") {
            r.mag = -1;
        } else if (!parse_int(f[imag], r.mag) || r.mag < 0 || r.mag > 5) {
            ok = false;
        }
        if (!ok || r.len < 0 || r.wid < 0 || (r.sg != 1 && r.sg != -9 && r.sg < 2)) {
            ++s.malformed;
            continue;
        }
        r.tz = zone_name(f[itz], r.zone_assumed);
        r.st = f[ist];
        rows.push_back(std::move(r));
    }
    return rows;
}

std::vector<Tornado> group_tornadoes(const std::vector<TornadoRow>& rows, TornadoSummary& s) {
    struct Open {
        Tornado t;
        std::vector<TrackPiece> segments;
        std::vector<std::pair<int, int>> loose;  // continuation codes before any segment
    };
    std::vector<Open> all;
    std::map<std::pair<int, int>, size_t> latest;  // (year, number) -> the tornado rows attach to
    auto codes_of = [](const TornadoRow& r, std::vector<std::pair<int, int>>& out) {
        for (int c : r.f) out.emplace_back(r.stf, c);
    };
    for (const TornadoRow& r : rows) {
        if (r.sg == 1) {
            latest[{r.yr, r.om}] = all.size();
            Open o;
            o.t.whole = r;
            all.push_back(std::move(o));
            continue;
        }
        auto it = latest.find({r.yr, r.om});
        if (it == latest.end()) {
            ++s.orphan_rows;
            continue;
        }
        Open& o = all[it->second];
        if (r.sg == -9) {
            codes_of(r, o.segments.empty() ? o.loose : o.segments.back().codes);
        } else {
            TrackPiece p;
            p.row = r;
            codes_of(r, p.codes);
            o.segments.push_back(std::move(p));
        }
    }
    std::vector<Tornado> out;
    out.reserve(all.size());
    for (Open& o : all) {
        if (o.segments.empty()) {
            TrackPiece p;
            p.row = o.t.whole;
            codes_of(o.t.whole, p.codes);
            p.codes.insert(p.codes.end(), o.loose.begin(), o.loose.end());
            p.crosses_states = o.t.whole.sn == 0;
            o.t.pieces.push_back(std::move(p));
        } else {
            // Further counties listed before the first segment go to the segment of their state.
            for (const auto& c : o.loose) {
                TrackPiece* to = &o.segments.front();
                for (TrackPiece& p : o.segments)
                    if (p.row.stf == c.first) {
                        to = &p;
                        break;
                    }
                to->codes.push_back(c);
            }
            o.t.pieces = std::move(o.segments);
        }
        if (o.t.whole.zone_assumed) ++s.zone_assumed;
        out.push_back(std::move(o.t));
    }
    return out;
}

std::vector<Tornado> merge_sources(const std::vector<RecordSource>& sources, TornadoSummary& s) {
    std::map<int, size_t> owner;  // year -> last source holding it
    for (size_t i = 0; i < sources.size(); ++i)
        for (const Tornado& t : sources[i].tornadoes) owner[t.whole.yr] = i;
    std::vector<Tornado> out;
    for (size_t i = 0; i < sources.size(); ++i)
        for (const Tornado& t : sources[i].tornadoes) {
            if (owner[t.whole.yr] == i)
                out.push_back(t);
            else
                ++s.replaced;
        }
    std::stable_sort(out.begin(), out.end(),
                     [](const Tornado& a, const Tornado& b) { return a.whole.yr < b.whole.yr; });
    if (owner.empty()) throw Error("tornado record: no tornado in the files read");
    s.first_year = owner.begin()->first;
    s.last_year = owner.rbegin()->first;
    for (int y = s.first_year; y <= s.last_year; ++y)
        if (!owner.count(y))
            throw Error("tornado record: no tornado in " + std::to_string(y) + "; the file of that year is missing");
    s.tornadoes = long(out.size());
    return out;
}

RecordSource read_record_file(const std::string& path, TornadoSummary& s) {
    std::string text;
    if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".zip") == 0) {
        text = read_zip_entry(path, ".csv");
    } else {
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Error("cannot open " + path);
        std::ostringstream b;
        b << in.rdbuf();
        text = b.str();
    }
    try {
        std::vector<TornadoRow> rows = parse_tornadoes(text, s);
        return {std::filesystem::path(path).filename().string(), group_tornadoes(rows, s)};
    } catch (const Error& e) {
        throw Error(path + ": " + e.what());
    }
}

void add_raw_totals(const std::vector<Tornado>& tornadoes, TornadoSummary& s) {
    for (const Tornado& t : tornadoes) {
        if (t.whole.mag < 0) {
            s.unrated_len_ft += length_ft(t.whole);
            s.unrated_acres += path_acres(t.whole);
        } else {
            s.raw_len_ft[t.whole.mag] += length_ft(t.whole);
            s.raw_acres[t.whole.mag] += path_acres(t.whole);
        }
    }
}

namespace {

struct Atlas {
    const std::vector<County>& counties;
    std::map<std::string, size_t> index;
    std::map<int, std::vector<size_t>> by_state;
    TrackClipper clip;
    explicit Atlas(const std::vector<County>& c) : counties(c), clip(c) {
        for (size_t i = 0; i < c.size(); ++i) {
            index[c[i].fips] = i;
            by_state[c[i].state_fips].push_back(i);
        }
    }
};

enum class Found { None, Codes, Geometry, Nearest };

// Where one piece of a track lies: its counties and the fraction of the
// piece's length in each (fractions add up to 1).
struct PieceCounties {
    Found how = Found::None;
    ShareRule rule = ShareRule::OneCounty;
    std::vector<size_t> counties;
    std::vector<double> share;
    double weight = 0;  // the piece's recorded length
};

void add_county(PieceCounties& out, size_t i) {
    if (std::find(out.counties.begin(), out.counties.end(), i) == out.counties.end()) out.counties.push_back(i);
}

// The counties the piece's county codes name, old codes mapped to current ones.
void add_coded_counties(const TrackPiece& p, const Atlas& at, TornadoSummary& s, PieceCounties& out) {
    for (const auto& [stf, code] : p.codes) {
        if (code <= 0) continue;
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d%03d", stf, code);
        std::string fips = current_fips(buf);
        if (fips != buf) ++s.old_codes;
        auto it = at.index.find(fips);
        if (it == at.index.end()) {
            ++s.invalid_codes;
            continue;
        }
        add_county(out, it->second);
    }
}

// Shares in proportion to the straight track inside each county; equal
// shares where that cannot be measured. listed: the counties came from the
// record's codes.
void share_out(const TornadoRow& r, const Atlas& at, bool listed, TornadoSummary& s, PieceCounties& out) {
    size_t n = out.counties.size();
    if (n == 1) {
        out.rule = ShareRule::OneCounty;
        out.share = {1.0};
        return;
    }
    out.share.assign(n, 1.0 / double(n));
    if (!r.has_end()) {
        out.rule = ShareRule::NoEndEqual;
        return;
    }
    auto inside = [&](size_t i) {
        Region reg = region_of_state(at.counties[i].state_fips);
        return at.clip.inside(i, project(reg, {r.slon, r.slat}), project(reg, {r.elon, r.elat}));
    };
    std::vector<double> in(n);
    double total = 0;
    bool all = true;
    for (size_t k = 0; k < n; ++k) {
        in[k] = inside(out.counties[k]);
        total += in[k];
        all = all && in[k] > 0;
    }
    // A listed county the line misses: the line is not where the record says.
    if (total <= 0 || (listed && !all)) {
        out.rule = ShareRule::Equal;
        if (total <= 0) ++s.equal_no_track;
        return;
    }
    out.rule = ShareRule::ByTrack;
    for (size_t k = 0; k < n; ++k) {
        out.share[k] = in[k] / total;
        if (in[k] <= 0) ++s.zero_shares;
    }
}

PieceCounties locate(const TrackPiece& p, const Atlas& at, TornadoSummary& s) {
    PieceCounties out;
    add_coded_counties(p, at, s, out);
    const TornadoRow& r = p.row;
    const bool has_end = r.has_end();
    if (!out.counties.empty()) {
        out.how = Found::Codes;
        share_out(r, at, true, s, out);
        return out;
    }
    // No usable county code: the counties of the row's own state that the
    // straight track crosses, or that hold the start point. A whole-track row
    // without segment rows is the record's only row for its tornado, so its
    // track counts in every state it crosses.
    int st = state_of_postal(r.st);
    if (st == 0) st = r.stf;
    auto cs = at.by_state.find(st);
    if (cs == at.by_state.end()) return out;
    Region reg = region_of_state(st);
    Pt a = project(reg, {r.slon, r.slat});
    Pt b = has_end ? project(reg, {r.elon, r.elat}) : a;
    for (size_t i : cs->second)
        if (track_hits(at.counties[i].shape, at.counties[i].box, a, b)) add_county(out, i);
    if (p.crosses_states && has_end) {
        bool other = false;
        for (const auto& [state, idx] : at.by_state) {
            if (state == st || region_of_state(state) != reg) continue;
            for (size_t i : idx)
                if (track_hits(at.counties[i].shape, at.counties[i].box, a, b)) {
                    add_county(out, i);
                    other = true;
                }
        }
        if (other) ++s.whole_track_other_states;
    }
    if (!out.counties.empty()) {
        out.how = Found::Geometry;
        share_out(r, at, false, s, out);
        return out;
    }
    double best = kNearestMiles;
    const County* nearest = nullptr;
    size_t nearest_i = 0;
    for (size_t i : cs->second) {
        const Box& bx = at.counties[i].box;
        if (std::max(a.x, b.x) < bx.left - best || std::min(a.x, b.x) > bx.right + best ||
            std::max(a.y, b.y) < bx.bottom - best || std::min(a.y, b.y) > bx.top + best)
            continue;
        double d = track_distance(at.counties[i].shape, a, b);
        if (d < best) {
            best = d;
            nearest = &at.counties[i];
            nearest_i = i;
        }
    }
    if (nearest) {
        out.how = Found::Nearest;
        out.rule = ShareRule::NearestCounty;
        out.counties = {nearest_i};
        out.share = {1.0};
    }
    return out;
}

}  // namespace

std::map<std::string, CountyTornado> assign_tornadoes(const std::vector<Tornado>& tornadoes,
                                                      const std::vector<County>& counties, TornadoSummary& s,
                                                      std::vector<TornadoCounty>* touched) {
    std::map<std::string, CountyTornado> out;
    for (const County& c : counties) out[c.fips];
    Atlas at(counties);
    long id = 0;
    for (const Tornado& t : tornadoes) {
        ++id;
        const TornadoRow& w = t.whole;
        // Tornadoes without a rating left no damage that could be rated: class F0.
        const int cls = w.mag < 0 ? 0 : w.mag;
        if (w.mag < 0) ++s.unknown_rating;
        const double len_ft = length_ft(w), acres = path_acres(w);
        std::optional<int> hour = est_hour(w.hour, w.tz);
        if (!hour) {
            ++s.unknown_zone;
            s.dropped_len_ft[cls] += len_ft;
            s.dropped_acres[cls] += acres;
            continue;
        }
        if (t.pieces.size() > 1)
            ++s.segmented;
        else if (w.sn == 0)
            ++s.whole_track_rows;
        std::vector<PieceCounties> found;
        double weight_sum = 0;
        Found how = Found::None;
        for (const TrackPiece& p : t.pieces) {
            PieceCounties pc = locate(p, at, s);
            if (pc.how == Found::None) continue;
            if (how == Found::None || pc.how < how) how = pc.how;
            pc.weight = p.row.len;
            weight_sum += pc.weight;
            found.push_back(std::move(pc));
        }
        if (found.empty()) {
            ++s.no_county;
            s.dropped_len_ft[cls] += len_ft;
            s.dropped_acres[cls] += acres;
            continue;
        }
        if (how == Found::Codes) ++s.by_codes;
        if (how == Found::Geometry) ++s.by_geometry;
        if (how == Found::Nearest) ++s.by_nearest;
        // State segments share the tornado's length by their own recorded
        // lengths (equally when none is recorded); within a piece, its counties
        // share by the rule of `locate`.
        std::map<size_t, double> share;  // county -> fraction of the tornado
        for (const PieceCounties& pc : found) {
            ++s.pieces_by_rule[pc.rule];
            double piece = found.size() == 1 ? 1.0
                           : weight_sum > 0  ? pc.weight / weight_sum
                                             : 1.0 / double(found.size());
            for (size_t k = 0; k < pc.counties.size(); ++k) share[pc.counties[k]] += piece * pc.share[k];
        }
        if (len_ft <= 0) ++s.no_length;
        if (w.wid <= 0) ++s.no_width;
        for (const auto& [i, frac] : share) {
            CountyTornado& c = out[counties[i].fips];
            c.count[cls] += 1;
            if (touched) touched->push_back({id, w.yr, w.om, cls, counties[i].fips, acres > 0 ? frac * acres : 0});
            if (len_ft > 0) {
                c.len_ft_sum[cls] += frac * len_ft;
                c.len_known[cls] += 1;
            }
            if (acres > 0) {
                c.acres_sum[cls] += frac * acres;
                c.acres_known[cls] += 1;
            }
            c.hourly[cls][*hour] += 1;
            ++s.county_hits;
        }
    }
    return out;
}

std::map<std::string, CountyTornado> assign_tornadoes(const std::vector<TornadoRow>& rows,
                                                      const std::vector<County>& counties, TornadoSummary& s) {
    std::vector<Tornado> ts;
    ts.reserve(rows.size());
    for (const TornadoRow& r : rows) {
        Tornado t;
        t.whole = r;
        TrackPiece p;
        p.row = r;
        for (int c : r.f) p.codes.emplace_back(r.stf, c);
        p.crosses_states = r.sn == 0;
        t.pieces.push_back(std::move(p));
        ts.push_back(std::move(t));
    }
    return assign_tornadoes(ts, counties, s);
}

}  // namespace refdata

namespace refdata {

double average_length_ft(const CountyTornado& c, int f) {
    if (c.count[f] == 0) return 0;
    if (c.len_known[f] == 0) return -9;
    return c.len_ft_sum[f] / c.count[f];
}

double average_acres(const CountyTornado& c, int f) {
    if (c.count[f] == 0) return 0;
    if (c.acres_known[f] == 0) return -9;
    return c.acres_sum[f] / c.count[f];
}

}  // namespace refdata
