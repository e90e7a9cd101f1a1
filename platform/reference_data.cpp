#include "platform/reference_data.h"

#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "model/hazard.h"
#include "model/occupancy.h"
#include "platform/number.h"
#include "platform/refdb_snapshot.h"

namespace verrane::platform {

namespace {

int Column(const Recordset& rs, const std::string& table, const std::string& field) {
    const int c = rs.FieldIndex(field);
    if (c < 0) throw DatabaseError("The table " + table + " has no field " + field + ".");
    return c;
}

// A missing value reads as NaN, which every comparison of the region search
// rejects.
double NumberOrNaN(const Recordset& rs, int column) {
    const auto& v = rs.FieldAt(column);
    return v.isNull() ? std::numeric_limits<double>::quiet_NaN() : v.asDouble();
}

// A value of the tornado record: empty counts as "no data", like a negative
// one; text that is not a number is named.
double RecordValue(const Recordset& rs, int column, const char* table, const std::string& field) {
    const auto& v = rs.FieldAt(column);
    if (v.isNull()) return std::numeric_limits<double>::quiet_NaN();
    try {
        return v.asDouble();
    } catch (const DatabaseError&) {
        throw DatabaseError("The field " + field + " of table " + table + " holds \"" + v.asText() +
                            "\", which is not a number.");
    }
}

std::vector<std::string> TextColumn(const Database& db, const std::string& table, const Query& q, const char* field) {
    auto rs = db.OpenRecordset(table, q);
    std::vector<std::string> out;
    if (rs.eof()) return out;
    const int c = Column(rs, table, field);
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) out.push_back(rs.FieldAt(c).asText());
    return out;
}

// The positions of the tornado record's fields in one table.
struct TornadoColumns {
    explicit TornadoColumns(const Recordset& walk) {
        years = Column(walk, "tornado", "RYEARS");
        for (size_t f = 0; f < 6; ++f) {
            count[f] = {"FCOUNT" + std::to_string(f), 0};
            length[f] = {"FLENFT" + std::to_string(f), 0};
            area[f] = {"FAC" + std::to_string(f), 0};
            for (auto* c : {&count[f], &length[f], &area[f]}) c->second = Column(walk, "tornado", c->first);
            for (size_t h = 0; h < 24; ++h) {
                hourly[f][h].first = "Fcnt" + std::to_string(f) + "hr" + std::to_string(h);
                hourly[f][h].second = Column(walk, "tornado", hourly[f][h].first);
            }
        }
    }
    using Named = std::pair<std::string, int>;
    int years = 0;
    std::array<Named, 6> count, length, area;
    std::array<std::array<Named, 24>, 6> hourly;
};

// The record years, read from the first row of a pooling only.
void ReadYears(const Recordset& walk, const TornadoColumns& c, model::TornadoRow& row) {
    if (walk.FieldAt(c.years).isNull())
        throw DatabaseError("The tornado record of county " + walk.Field("FIPS").asText() +
                            " has no number of record years (RYEARS).");
    row.ryears = RecordValue(walk, c.years, "tornado", "RYEARS");
}

// The counts, lengths, areas and hourly counts of the current row.
void ReadCounts(const Recordset& walk, const TornadoColumns& c, model::TornadoRow& row) {
    auto value = [&walk](const TornadoColumns::Named& n) { return RecordValue(walk, n.second, "tornado", n.first); };
    for (size_t f = 0; f < 6; ++f) {
        row.fcount[f] = value(c.count[f]);
        row.flenft[f] = value(c.length[f]);
        row.fac[f] = value(c.area[f]);
        for (size_t h = 0; h < 24; ++h) row.fcnt[f][h] = value(c.hourly[f][h]);
    }
}

}  // namespace

std::string FipsText(int stateCode, int countyCode) {
    return FormatNumber(stateCode, "00") + FormatNumber(countyCode, "000");
}

int16_t CountyRecord::StateCode() const { return CInt(stateFips.asDouble()); }
int16_t CountyRecord::CountyCode() const { return CInt(countyFips.asDouble()); }

double CountyRecord::HurricaneWind() const {
    return hurricaneWind.isNull() ? std::numeric_limits<double>::quiet_NaN() : hurricaneWind.asDouble();
}

HurricaneWindReading ReadHurricaneWind(const ReferenceData& reference, const std::string& state,
                                       const std::string& county) {
    HurricaneWindReading r;
    try {
        const auto record = reference.County(state, county);
        if (!record) return r;
        const double wind = record->HurricaneWind();
        r.wind = model::HurricaneWindOf(wind);
        if (!std::isfinite(wind))
            r.problem = "The county " + county + ", " + state +
                        " has no hurricane design wind speed in the county table; its hurricane benefits are taken "
                        "as 0.";
    } catch (const std::exception& e) {
        r.problem = "The hurricane wind of " + county + ", " + state + " could not be read. " + e.what();
    }
    return r;
}

CountyCodes ReadCountyCodes(const ReferenceData& reference, const std::string& state, const std::string& county) {
    CountyCodes c;
    try {
        const auto record = reference.County(state, county);
        if (!record) {
            c.problem = "The county " + county + ", " + state + " is not in the county table; its codes are unchanged.";
            return c;
        }
        c.county = record->CountyCode();
        c.state = record->StateCode();
    } catch (const std::exception& e) {
        c.problem = std::string("The county codes could not be read. ") + e.what();
    }
    return c;
}

TimePreset ReadTimePreset(const ReferenceData& reference, const std::string& state, const std::string& county) {
    TimePreset t;
    try {
        const auto record = reference.County(state, county);
        if (!record) return t;
        t.daylightSaving = record->DaylightSaving();
        t.timeZone = model::TimeZoneIndex(record->TimeZone());
        t.found = true;
    } catch (const std::exception& e) {
        t = {};
        t.problem = "The time zone of " + county + ", " + state + " could not be read. " + e.what();
    }
    return t;
}

namespace {
const char* const kProjectCountyAlone = " Only the project county is selected.";

CountySelection AtLeastTheProjectCounty(CountySelection s, const std::string& projectFips) {
    if (s.counties.empty()) s.counties.push_back(projectFips);
    return s;
}
}  // namespace

CountySelection RegionSelection(const ReferenceData& reference, const std::string& state, const std::string& county,
                                int radius, const std::string& projectFips) {
    CountySelection s;
    if (radius > 0) {
        try {
            s.counties = reference.RegionCounties(state, county, radius);
        } catch (const CountyNotFound& e) {
            s = {{}, std::string(e.what()) + kProjectCountyAlone};
        } catch (const std::exception& e) {
            s = {{},
                 "The counties around " + county + ", " + state + " could not be found. " + e.what() +
                     kProjectCountyAlone};
        }
    }
    return AtLeastTheProjectCounty(std::move(s), projectFips);
}

CountySelection StateSelection(const ReferenceData& reference, const std::string& state,
                               const std::string& projectFips) {
    CountySelection s;
    try {
        s.counties = reference.StateCounties(state);
    } catch (const std::exception& e) {
        s = {{}, "The counties of " + state + " could not be read. " + e.what() + kProjectCountyAlone};
    }
    return AtLeastTheProjectCounty(std::move(s), projectFips);
}

std::string PoolingFailure(const std::filesystem::path& file, const std::string& what) {
    const std::string name = file.string();
    std::string text = "The tornado statistics could not be extracted";
    text += what.find(name) == std::string::npos ? " from " + name + ": " + what : ": " + what;
    return text + " The previous statistics are kept.";
}

// The coordinate table in table order: each county's code and extent.
struct ReferenceData::Coordinates {
    std::vector<std::string> fips;
    std::vector<model::CountyExtent> extent;
};

// The tornado table's columns and rows as numbers, each row read once, by
// its position in the table: a batch run pools the same rows for many
// regions.
struct ReferenceData::TornadoRows {
    std::optional<TornadoColumns> columns;
    struct Read {
        model::TornadoRow counts;
        std::string error;  // why the row's values cannot be used
    };
    std::vector<std::optional<Read>> rows;
    bool allRead = false;  // every row read (ReadAllOnce)

    // The row the walk is on, read now if it has not been.
    const Read& At(const Recordset& walk) {
        if (rows.size() <= walk.Position()) rows.resize(walk.table()->rowCount());
        auto& read = rows[walk.Position()];
        if (!read) {
            read.emplace();
            try {
                ReadCounts(walk, *columns, read->counts);
            } catch (const DatabaseError& e) {
                read->error = e.what();
            }
        }
        return *read;
    }
};

ReferenceData::ReferenceData(std::filesystem::path file) : file_(std::move(file)) {}

void ReferenceData::ReadAllOnce() const {
    if (!memory_ || (tornadoRows_ && tornadoRows_->allRead)) return;
    const Database db = Open();
    CoordinateTable(db);
    Recordset walk = db.OpenRecordset("tornado");
    if (walk.eof()) return;
    if (!tornadoRows_) tornadoRows_ = std::make_shared<TornadoRows>();
    if (!tornadoRows_->columns) tornadoRows_->columns.emplace(walk);
    for (walk.MoveFirst(); !walk.eof(); walk.MoveNext()) tornadoRows_->At(walk);
    tornadoRows_->allRead = true;
}

ReferenceData ReferenceData::InMemory(const std::filesystem::path& file) {
    ReferenceData r(file);
    r.memory_ = InstalledSnapshot(file);
    // The tables these questions read, indexed on the fields they ask by; the
    // others (each tornado's counties, the data's identity) are left on disk.
    if (!r.memory_)
        r.memory_ = ReferenceSnapshot::Load(file, {"states", "Counties", "cntycoor", "tornado"},
                                            {"FIPS", "STATE_NAME", "NAME"});
    return r;
}

Database ReferenceData::Open() const { return memory_ ? Database::Open(memory_) : Database::Open(file_); }

std::vector<std::string> ReferenceData::StateNames() const { return TextColumn(Open(), "states", {}, "STATE_NAME"); }

std::vector<std::string> ReferenceData::CountyNames(const std::string& state) const {
    return TextColumn(Open(), "Counties", Query::Where({{"STATE_NAME", state}}), "NAME");
}

std::optional<CountyRecord> ReferenceData::County(const std::string& state, const std::string& county) const {
    const Database db = Open();
    auto rs = db.OpenRecordset("Counties", Query::Where({{"STATE_NAME", state}, {"NAME", county}}));
    if (rs.eof()) return std::nullopt;
    return CountyRecord{rs.Field("State_fips"), rs.Field("Cnty_fips"), rs.Field("Time_Zones"), rs.Field("Daylitsave"),
                        rs.Field("Hur_wind")};
}

std::vector<std::string> ReferenceData::StateCounties(const std::string& state) const {
    auto rs = Open().OpenRecordset("Counties", Query::Where({{"STATE_NAME", state}}));
    const int cf = Column(rs, "Counties", "FIPS");
    std::vector<std::string> out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) out.push_back(rs.FieldAt(cf).asText());
    return out;
}

std::shared_ptr<const ReferenceData::Coordinates> ReferenceData::CoordinateTable(const Database& db) const {
    if (coordinates_) return coordinates_;
    auto rs = db.OpenRecordset("cntycoor");
    const int cx = Column(rs, "cntycoor", "X_Coord"), cy = Column(rs, "cntycoor", "Y_Coord");
    const int cl = Column(rs, "cntycoor", "Leftex"), cr = Column(rs, "cntycoor", "Rightex");
    const int cb = Column(rs, "cntycoor", "Bottomex"), ct = Column(rs, "cntycoor", "Topex");
    const int cf = Column(rs, "cntycoor", "Fips");
    auto table = std::make_shared<Coordinates>();
    table->fips.reserve(rs.size());
    table->extent.reserve(rs.size());
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        table->fips.push_back(rs.FieldAt(cf).asText());
        table->extent.push_back({NumberOrNaN(rs, cx), NumberOrNaN(rs, cy), NumberOrNaN(rs, cl), NumberOrNaN(rs, cr),
                                 NumberOrNaN(rs, cb), NumberOrNaN(rs, ct)});
    }
    if (memory_) coordinates_ = table;
    return table;
}

std::vector<std::string> ReferenceData::RegionCounties(const std::string& state, const std::string& county,
                                                       double r) const {
    const Database db = Open();
    double x0, y0;
    {
        auto rs = db.OpenRecordset("cntycoor", Query::Where({{"STATE_NAME", state}, {"NAME", county}}));
        if (rs.eof())
            throw CountyNotFound("The county " + county + ", " + state + " is not in the county coordinate table.");
        x0 = NumberOrNaN(rs, Column(rs, "cntycoor", "X_Coord"));
        y0 = NumberOrNaN(rs, Column(rs, "cntycoor", "Y_Coord"));
        if (!std::isfinite(x0) || !std::isfinite(y0))
            throw CountyNotFound("The county " + county + ", " + state +
                                 " has no centroid in the county coordinate table.");
    }
    const auto table = CoordinateTable(db);
    std::vector<std::string> found;
    for (size_t i = 0; i < table->extent.size(); ++i)
        if (model::WithinRadius(table->extent[i], x0, y0, r)) found.push_back(table->fips[i]);
    return found;
}

double ReferenceData::SumF3(const std::vector<std::string>& counties) const {
    auto rs = Open().OpenRecordset("tornado", Query::AnyOf("FIPS", counties));
    if (rs.eof()) return 0;
    const int c3 = Column(rs, "tornado", "FCOUNT3");
    double sum = 0;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        const double v = NumberOrNaN(rs, c3);
        if (v >= 0) sum += v;
        if (sum >= model::kSufficientF3Count) break;
    }
    return sum;
}

model::TornadoStats ReferenceData::PooledStats(const std::vector<std::string>& counties, const std::string& projectFips,
                                               const std::function<void(double)>& progress) const {
    auto tell = [&progress](double v) {
        if (progress) progress(v);
    };
    const float n = static_cast<float>(counties.size());
    model::TornadoStatsBuilder builder;
    const Database db = Open();
    {
        Recordset walk = db.OpenRecordset("tornado", Query::AnyOf("FIPS", counties));
        if (!walk.eof()) {
            // In memory the columns and the rows' values are read once for the run.
            std::optional<TornadoColumns> ownColumns;
            if (memory_ && !tornadoRows_) tornadoRows_ = std::make_shared<TornadoRows>();
            std::optional<TornadoColumns>& columnsInUse = memory_ ? tornadoRows_->columns : ownColumns;
            if (!columnsInUse) columnsInUse.emplace(walk);
            const TornadoColumns& columns = *columnsInUse;
            bool first = true;
            for (walk.MoveFirst(); !walk.eof(); walk.MoveNext()) {
                model::TornadoRow own;
                if (first) ReadYears(walk, columns, own);
                const model::TornadoRow* row = &own;
                if (memory_) {
                    const TornadoRows::Read& read = tornadoRows_->At(walk);
                    if (!read.error.empty()) throw DatabaseError(read.error);
                    // Past the first row the years are not read: the row read once serves as it is.
                    if (first) {
                        const double years = own.ryears;
                        own = read.counts;
                        own.ryears = years;
                    } else {
                        row = &read.counts;
                    }
                } else {
                    ReadCounts(walk, columns, own);
                }
                try {
                    builder.AddTornadoRow(*row);
                } catch (const std::overflow_error&) {
                    throw DatabaseError("The number of record years (RYEARS) of the tornado record, " +
                                        walk.Field("RYEARS").asText() + ", is out of range.");
                }
                first = false;
                tell(static_cast<float>(walk.RecordCount()) / n * 60.0f + 10.0f);
            }
        }
    }
    if (builder.NeedsCountyAreas()) {
        Recordset rs = db.OpenRecordset("Counties", Query::AnyOf("FIPS", counties));
        if (!rs.eof()) {
            const int cf = Column(rs, "Counties", "FIPS"), ca = Column(rs, "Counties", "AREA");
            for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
                double area = RecordValue(rs, ca, "Counties", "AREA");
                if (std::isnan(area)) area = -1;  // no area: counts as missing data, as a negative one does
                builder.AddCountyArea({rs.FieldAt(cf).asText(), area}, projectFips);
                tell(static_cast<float>(rs.RecordCount()) / n * 20.0f + 70.0f);
            }
        }
    }
    return builder.Finish();
}

}  // namespace verrane::platform
