#include "screens/hazard/selection.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/number.h"

namespace verrane::hazard {

using platform::Database;
using platform::DatabaseError;
using platform::Query;
using platform::Recordset;

namespace {

int Column(const Recordset& rs, const std::string& table, const char* field) {
    const int c = rs.FieldIndex(field);
    if (c < 0) throw DatabaseError("The table " + table + " has no field " + field + ".");
    return c;
}

// A missing value reads as NaN, which every comparison below rejects.
double NumberOrNaN(const Recordset& rs, int column) {
    const auto& v = rs.FieldAt(column);
    return v.isNull() ? std::numeric_limits<double>::quiet_NaN() : v.asDouble();
}

// The state of that name exactly: "Kansas" must not find Arkansas too.
std::string StateNameExpression(const std::string& name) {
    std::string quoted;
    for (char c : name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return "STATE_NAME = '" + quoted + "'";
}

}  // namespace

std::string FipsText(int stateCode, int countyCode) {
    return platform::FormatNumber(stateCode, "00") + platform::FormatNumber(countyCode, "000");
}

std::optional<int> StateCodeOf(const std::string& fips) {
    auto v = platform::ParseNumber(fips);
    if (!v || !std::isfinite(*v) || std::fabs(*v) > 1e9) return std::nullopt;
    const long long n = static_cast<long long>(*v);
    return static_cast<int>((n - n % 1000) / 1000);
}

std::vector<std::string> RegionCounties(const Database& db, const std::string& stateName, const std::string& countyName,
                                        double r) {
    double x0, y0;
    {
        auto rs = db.OpenRecordset("cntycoor", Query::Where({{"STATE_NAME", stateName}, {"NAME", countyName}}));
        if (rs.eof())
            throw CountyNotFound("The county " + countyName + ", " + stateName +
                                 " is not in the county coordinate table.");
        x0 = NumberOrNaN(rs, Column(rs, "cntycoor", "X_Coord"));
        y0 = NumberOrNaN(rs, Column(rs, "cntycoor", "Y_Coord"));
        if (!std::isfinite(x0) || !std::isfinite(y0))
            throw CountyNotFound("The county " + countyName + ", " + stateName +
                                 " has no centroid in the county coordinate table.");
    }
    const double left = x0 - r, right = x0 + r, bottom = y0 - r, top = y0 + r;

    auto rs = db.OpenRecordset("cntycoor");
    const int cx = Column(rs, "cntycoor", "X_Coord"), cy = Column(rs, "cntycoor", "Y_Coord");
    const int cl = Column(rs, "cntycoor", "Leftex"), cr = Column(rs, "cntycoor", "Rightex");
    const int cb = Column(rs, "cntycoor", "Bottomex"), ct = Column(rs, "cntycoor", "Topex");
    const int cf = Column(rs, "cntycoor", "Fips");
    std::vector<std::string> found;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        const double lx = NumberOrNaN(rs, cl), rx = NumberOrNaN(rs, cr);
        const double by = NumberOrNaN(rs, cb), ty = NumberOrNaN(rs, ct);
        // The box test spares the distances of counties far outside the square.
        if (!(lx <= right && rx >= left && ty >= bottom && by <= top)) continue;
        const double xs[5] = {NumberOrNaN(rs, cx), lx, rx, rx, lx};
        const double ys[5] = {NumberOrNaN(rs, cy), by, ty, by, ty};
        for (int k = 0; k < 5; ++k) {
            const double dx = xs[k] - x0, dy = ys[k] - y0;
            if (std::sqrt(dx * dx + dy * dy) <= r) {
                found.push_back(rs.FieldAt(cf).asText());
                break;
            }
        }
    }
    return found;
}

std::vector<std::string> StateCounties(const Database& db, const std::string& stateName) {
    auto rs = db.OpenRecordset("Counties", Query::Where({{"STATE_NAME", stateName}}));
    const int cf = Column(rs, "Counties", "FIPS");
    std::vector<std::string> out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) out.push_back(rs.FieldAt(cf).asText());
    return out;
}

double SumF3(const Database& db, const std::vector<std::string>& counties) {
    auto rs = db.OpenRecordset("tornado", Query::AnyOf("FIPS", counties));
    if (rs.eof()) return 0;
    const int c3 = Column(rs, "tornado", "FCOUNT3");
    double sum = 0;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) {
        const double v = NumberOrNaN(rs, c3);
        if (v >= 0) sum += v;
        if (sum >= kSufficientF3) break;
    }
    return sum;
}

std::optional<bool> TestSufficiency(const std::filesystem::path& database, const std::vector<std::string>& counties,
                                    platform::Label& label, platform::Dialogs& dialogs) {
    bool sufficient = false;
    try {
        const auto db = Database::Open(database);
        sufficient = SumF3(db, counties) >= kSufficientF3;
    } catch (const std::exception& e) {
        dialogs.MsgBox(std::string("The tornado record of the selected counties could not be read. ") + e.what(),
                       platform::Buttons::OK, platform::Icon::Exclamation, kReferenceDataTitle);
        label.setCaption("The number of tornadoes of the selected counties could not be read.");
        label.setForeColor(platform::kRed);
        return std::nullopt;
    }
    label.setCaption(sufficient ? kSufficient : kInsufficient);
    label.setForeColor(sufficient ? platform::kBlack : platform::kRed);
    return sufficient;
}

int CountyAt(const platform::MapControl& map, const platform::MapLayer& counties, double xTwips, double yTwips) {
    return counties.ShapeAt(map.ToMapPoint(xTwips, yTwips), map.ToMapDistance(200));
}

void ColourSelection(platform::ValueMapRenderer& renderer, const std::vector<std::string>& counties,
                     const std::string& projectFips) {
    renderer.field = "FIPS";
    renderer.setValueCount(static_cast<int>(counties.size()));
    for (int i = 0; i < static_cast<int>(counties.size()); ++i) {
        const std::string& c = counties[static_cast<size_t>(i)];
        renderer.setValue(i, c);
        renderer.symbol(i).color = c == projectFips ? platform::kGreen : platform::kRed;
    }
}

std::optional<platform::MapRect> SelectionExtent(const platform::MapLayer& states,
                                                 const std::vector<std::string>& counties, int projectStateCode,
                                                 const std::string& projectStateName) {
    std::vector<int> others;
    for (const auto& c : counties) {
        auto s = StateCodeOf(c);
        if (!s || *s == projectStateCode) continue;
        if (std::find(others.begin(), others.end(), *s) == others.end()) others.push_back(*s);
    }
    std::optional<platform::MapRect> extent;
    auto widen = [&](const std::vector<int>& found) {
        if (found.empty()) return;  // an all-zero box would drag the map to the origin
        const auto e = states.extentOf(found);
        extent = extent ? platform::MapRect::Union(*extent, e) : e;
    };
    if (!others.empty()) {
        others.push_back(projectStateCode);
        for (int s : others)
            widen(states.SearchExpression("STATE_FIPS Like '%" + platform::FormatNumber(s, "00") + "%'"));
    } else {
        widen(states.SearchExpression(StateNameExpression(projectStateName)));
    }
    if (!extent) return std::nullopt;
    return extent->ScaledAboutCentre(1.1);
}

}  // namespace verrane::hazard
