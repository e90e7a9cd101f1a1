#include "screens/hazard/form9.h"

#include <cmath>
#include <limits>
#include <string>

#include "model/tornado_stats.h"
#include "platform/refdb.h"
#include "screens/hazard/selection.h"
#include "screens/project/form2.h"
#include "screens/screen_host.h"

namespace verrane {

using platform::Database;
using platform::DatabaseError;
using platform::Query;
using platform::Recordset;

namespace {

int Column(const Recordset& rs, const std::string& table, const std::string& field) {
    const int c = rs.FieldIndex(field);
    if (c < 0) throw DatabaseError("The table " + table + " has no field " + field + ".");
    return c;
}

// An empty field counts as "no data", like a negative value.
double Value(const Recordset& rs, int column, const char* table, const std::string& field) {
    const auto& v = rs.FieldAt(column);
    if (v.isNull()) return std::numeric_limits<double>::quiet_NaN();
    try {
        return v.asDouble();
    } catch (const DatabaseError&) {
        throw DatabaseError("The field " + field + " of table " + table + " holds \"" + v.asText() +
                            "\", which is not a number.");
    }
}

}  // namespace

Form9::Form9(ScreenHost& a) : Screen(a, "Form9", "") {
    Label1[0].name = "Label1";
    Label1[0].index = 0;
    Label1[0].setCaption("Extracting Tornado Statistics");
    ProgressBar1.name = "ProgressBar1";
    ProgressBar1.min = 0;
    ProgressBar1.max = 100;
}

void Form9::SetProgress(double value) {
    ProgressBar1.setValue(value);
    // Repaint only when the shown percentage moves: a whole state has hundreds of rows.
    const int percent = static_cast<int>(value);
    if (percent != shownPercent_) {
        shownPercent_ = percent;
        Refresh();
    }
}

bool Form9::Get_Data() {
    BusyPointer busy(dialogs());
    Refresh();
    SetProgress(0);
    Refresh();
    try {
        Extract_Stats();
    } catch (const std::exception& e) {
        const std::string file = app.ReferenceDatabase().string();
        std::string text = "The tornado statistics could not be extracted";
        const std::string what = e.what();
        text += what.find(file) == std::string::npos ? " from " + file + ": " + what : ": " + what;
        text += " The previous statistics are kept.";
        dialogs().MsgBox(text, platform::Buttons::OK, platform::Icon::Exclamation, hazard::kReferenceDataTitle);
        return false;
    }
    SetProgress(100);
    app.form2().StatsPending = false;
    return true;
}

void Form9::Extract_Stats() {
    Form2& f2 = app.form2();
    const std::vector<std::string> counties = f2.SelectedCounties;
    const float n = static_cast<float>(counties.size());
    const std::string projectFips = f2.ProjectFips();

    model::TornadoStatsBuilder builder;
    const Database db = Database::Open(app.ReferenceDatabase());
    {
        Recordset walk = db.OpenRecordset("tornado", Query::AnyOf("FIPS", counties));
        if (!walk.eof()) {
            const int cy = Column(walk, "tornado", "RYEARS");
            std::array<int, 6> cc{}, cl{}, ca{};
            std::array<std::array<int, 24>, 6> ch{};
            std::array<std::string, 6> nc, nl, na;
            std::array<std::array<std::string, 24>, 6> nh;
            for (int f = 0; f < 6; ++f) {
                nc[f] = "FCOUNT" + std::to_string(f);
                nl[f] = "FLENFT" + std::to_string(f);
                na[f] = "FAC" + std::to_string(f);
                cc[f] = Column(walk, "tornado", nc[f]);
                cl[f] = Column(walk, "tornado", nl[f]);
                ca[f] = Column(walk, "tornado", na[f]);
                for (int h = 0; h < 24; ++h) {
                    nh[f][h] = "Fcnt" + std::to_string(f) + "hr" + std::to_string(h);
                    ch[f][h] = Column(walk, "tornado", nh[f][h]);
                }
            }
            bool first = true;
            for (walk.MoveFirst(); !walk.eof(); walk.MoveNext()) {
                model::TornadoRow row;
                if (first) {
                    if (walk.FieldAt(cy).isNull())
                        throw DatabaseError("The tornado record of county " + walk.Field("FIPS").asText() +
                                            " has no number of record years (RYEARS).");
                    row.ryears = Value(walk, cy, "tornado", "RYEARS");
                }
                for (int f = 0; f < 6; ++f) {
                    row.fcount[f] = Value(walk, cc[f], "tornado", nc[f]);
                    row.flenft[f] = Value(walk, cl[f], "tornado", nl[f]);
                    row.fac[f] = Value(walk, ca[f], "tornado", na[f]);
                    for (int h = 0; h < 24; ++h) row.fcnt[f][h] = Value(walk, ch[f][h], "tornado", nh[f][h]);
                }
                try {
                    builder.AddTornadoRow(row);
                } catch (const std::overflow_error&) {
                    throw DatabaseError("The number of record years (RYEARS) of the tornado record, " +
                                        walk.Field("RYEARS").asText() + ", is out of range.");
                }
                first = false;
                SetProgress(static_cast<float>(walk.RecordCount()) / n * 60.0f + 10.0f);
            }
        }
    }

    if (builder.NeedsCountyAreas()) {
        Recordset rs = db.OpenRecordset("Counties", Query::AnyOf("FIPS", counties));
        if (!rs.eof()) {
            const int cf = Column(rs, "Counties", "FIPS"), ca = Column(rs, "Counties", "AREA");
            for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
                double area = Value(rs, ca, "Counties", "AREA");
                if (std::isnan(area)) area = -1;  // no area: counts as missing data, as a negative one does
                builder.AddCountyArea({rs.FieldAt(cf).asText(), area}, projectFips);
                SetProgress(static_cast<float>(rs.RecordCount()) / n * 20.0f + 70.0f);
            }
        }
    }

    const model::TornadoStats s = builder.Finish();
    f2.AvgPathAreaByF = s.avgPathAreaByF;
    f2.AvgPathLengthByF = s.avgPathLengthByF;
    f2.TornadoCountByF = s.countByF;
    f2.RecordYears = s.recordYears;
    f2.SampleRegionArea = s.sampleRegionArea;
    f2.CountyArea = s.countyArea;
    f2.HourlyFractionByF = s.hourlyFractionByF;
}

}  // namespace verrane
