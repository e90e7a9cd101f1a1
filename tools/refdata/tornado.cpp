// The county tornado record: parsing the storm prediction record and
// counting each tornado in the counties it touched.
#include <algorithm>
#include <cmath>
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

std::vector<TornadoRow> parse_tornadoes(const std::string& text, TornadoSummary& s) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line)) throw Error("tornado record: empty file");
  std::vector<std::string> head = split_csv(line);
  auto col = [&](const char* name) {
    for (size_t i = 0; i < head.size(); ++i)
      if (head[i] == name) return i;
    throw Error(std::string("tornado record: no column '") + name + "'");
  };
  const size_t iom = col("om"), iyr = col("yr"), itime = col("time"), itz = col("tz"), ist = col("st"),
               istf = col("stf"), imag = col("mag"), islat = col("slat"), islon = col("slon"), ielat = col("elat"),
               ielon = col("elon"), ilen = col("len"), iwid = col("wid"), ins = col("ns"), isn = col("sn"),
               if1 = col("f1"), if2 = col("f2"), if3 = col("f3"), if4 = col("f4");
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
              parse_int(f[if2], r.f[1]) && parse_int(f[if3], r.f[2]) && parse_int(f[if4], r.f[3]);
    const std::string& t = f[itime];
    ok = ok && t.size() >= 2 && std::isdigit(static_cast<unsigned char>(t[0])) &&
         std::isdigit(static_cast<unsigned char>(t[1])) && (t.size() == 2 || t[2] == ':');
    if (ok) r.hour = (t[0] - '0') * 10 + (t[1] - '0');
    if (f[imag] == "NA" || f[imag].empty()) {
      r.mag = -1;
    } else if (!parse_int(f[imag], r.mag) || r.mag < 0 || r.mag > 5) {
      ok = false;
    }
    if (!ok || r.len < 0 || r.wid < 0) {
      ++s.malformed;
      continue;
    }
    r.tz = f[itz];
    r.st = f[ist];
    rows.push_back(std::move(r));
  }
  return rows;
}

std::map<std::string, CountyTornado> assign_tornadoes(const std::vector<TornadoRow>& rows,
                                                      const std::vector<County>& counties, TornadoSummary& s) {
  std::map<std::string, CountyTornado> out;
  std::map<std::string, size_t> index;
  std::map<int, std::vector<size_t>> by_state;
  for (size_t i = 0; i < counties.size(); ++i) {
    out[counties[i].fips];
    index[counties[i].fips] = i;
    by_state[counties[i].state_fips].push_back(i);
  }
  for (const TornadoRow& r : rows) {
    if (r.mag < 0) {
      ++s.unknown_rating;
      continue;
    }
    std::optional<int> hour = est_hour(r.hour, r.tz);
    if (!hour) {
      ++s.unknown_zone;
      continue;
    }
    if (r.sn == 0) ++s.whole_track_rows;
    std::vector<std::string> hit;
    auto add = [&](const std::string& fips) {
      if (std::find(hit.begin(), hit.end(), fips) == hit.end()) hit.push_back(fips);
    };
    for (int code : r.f) {
      if (code <= 0) continue;
      char buf[16];
      std::snprintf(buf, sizeof buf, "%02d%03d", r.stf, code);
      std::string fips = current_fips(buf);
      if (fips != buf) ++s.old_codes;
      if (!index.count(fips)) {
        ++s.invalid_codes;
        continue;
      }
      add(fips);
    }
    if (!hit.empty()) {
      ++s.by_codes;
    } else {
      // No usable county code: the counties of the row's own state that the
      // straight track crosses, or that hold the start point. A whole-track
      // row is the record's only row for its tornado (the per-state segment
      // rows are not in this record), so its track counts in every state it
      // crosses.
      int st = state_of_postal(r.st);
      if (st == 0) st = r.stf;
      auto cs = by_state.find(st);
      if (cs == by_state.end()) {
        ++s.no_county;
        continue;
      }
      Region reg = region_of_state(st);
      bool has_end = !(r.elat == 0 && r.elon == 0);
      Pt a = project(reg, {r.slon, r.slat});
      Pt b = has_end ? project(reg, {r.elon, r.elat}) : a;
      for (size_t i : cs->second)
        if (track_hits(counties[i].shape, counties[i].box, a, b)) add(counties[i].fips);
      if (r.sn == 0 && has_end) {
        bool other = false;
        for (const auto& [state, idx] : by_state) {
          if (state == st || region_of_state(state) != reg) continue;
          for (size_t i : idx)
            if (track_hits(counties[i].shape, counties[i].box, a, b)) {
              add(counties[i].fips);
              other = true;
            }
        }
        if (other) ++s.whole_track_other_states;
      }
      if (!hit.empty()) {
        ++s.by_geometry;
      } else {
        double best = kNearestMiles;
        const County* nearest = nullptr;
        for (size_t i : cs->second) {
          const Box& bx = counties[i].box;
          if (std::max(a.x, b.x) < bx.left - best || std::min(a.x, b.x) > bx.right + best ||
              std::max(a.y, b.y) < bx.bottom - best || std::min(a.y, b.y) > bx.top + best)
            continue;
          double d = track_distance(counties[i].shape, a, b);
          if (d < best) {
            best = d;
            nearest = &counties[i];
          }
        }
        if (!nearest) {
          ++s.no_county;
          continue;
        }
        add(nearest->fips);
        ++s.by_nearest;
      }
    }
    // A length or width of 0 is how the record writes "not known".
    double len_ft = r.len * 5280;
    double acres = r.len * 5280 * (r.wid * 3) / 43560;
    bool has_len = r.len > 0, has_area = r.len > 0 && r.wid > 0;
    if (!has_len) ++s.no_length;
    if (r.wid <= 0) ++s.no_width;
    for (const std::string& fips : hit) {
      CountyTornado& c = out[fips];
      c.count[r.mag] += 1;
      if (has_len) {
        c.len_ft_sum[r.mag] += len_ft;
        c.len_known[r.mag] += 1;
      }
      if (has_area) {
        c.acres_sum[r.mag] += acres;
        c.acres_known[r.mag] += 1;
      }
      c.hourly[r.mag][*hour] += 1;
      ++s.county_hits;
    }
  }
  return out;
}

}  // namespace refdata

namespace refdata {

double average_length_ft(const CountyTornado& c, int f) {
  if (c.count[f] == 0) return 0;
  if (c.len_known[f] == 0) return -9;
  return c.len_ft_sum[f] / c.len_known[f];
}

double average_acres(const CountyTornado& c, int f) {
  if (c.count[f] == 0) return 0;
  if (c.acres_known[f] == 0) return -9;
  return c.acres_sum[f] / c.acres_known[f];
}

}  // namespace refdata
