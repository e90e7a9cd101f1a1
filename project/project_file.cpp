#include "project/project_file.h"

#include <cmath>

#include "platform/number.h"
#include "platform/textfile.h"

namespace verrane::project {

namespace {

using platform::GeneralText;
using platform::OneLine;

constexpr const char* kHeader = "Verrane v1.0";
constexpr const char* kAbsent = "FALSE";

class Reader {
public:
    explicit Reader(const std::vector<std::string>& lines) : lines_(lines) {}
    int lineNumber() const { return static_cast<int>(pos_) + 1; }

    const std::string& Next(const std::string& what) {
        if (pos_ >= lines_.size())
            throw ProjectFileError(lineNumber(), "expected " + what + ", but the file ends there");
        return lines_[pos_++];
    }
    // A value the program keeps in a number box: empty, or a number that
    // fits what the box is read into (the rule the box itself applies).
    std::string Number(const std::string& what, platform::NumberKind kind = platform::NumberKind::Single) {
        return CheckNumber(Next(what), what, kind);
    }
    std::string CheckNumber(const std::string& s, const std::string& what, platform::NumberKind kind) const {
        if (!s.empty() && !platform::IsNumeric(s))
            throw ProjectFileError(lineNumber() - 1, "expected a number for " + what + ", but found \"" + s + "\"");
        if (const std::string problem = platform::NumberRangeProblem(s, kind); !problem.empty())
            throw ProjectFileError(lineNumber() - 1, "the number \"" + s + "\" for " + what + " " + problem);
        return s;
    }
    bool AtEnd() const { return pos_ >= lines_.size(); }
    // True when a line that is not empty follows the one just read.
    bool MoreValuesFollow() const {
        for (size_t i = pos_; i < lines_.size(); ++i)
            if (!lines_[i].empty()) return true;
        return false;
    }
    int Whole(const std::string& what, int lo, int hi) {
        const std::string& s = Next(what);
        auto v = platform::ParseNumber(s);
        if (!v || *v != std::floor(*v) || *v < lo || *v > hi)
            throw ProjectFileError(lineNumber() - 1, "expected " + what + " (a whole number from " +
                                                         std::to_string(lo) + " to " + std::to_string(hi) +
                                                         "), but found \"" + s + "\"");
        return static_cast<int>(*v);
    }

private:
    const std::vector<std::string>& lines_;
    size_t pos_ = 0;
};

bool IsFips(const std::string& s) {
    if (s.size() != 5) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

ProjectFileError::ProjectFileError(int l, const std::string& what)
    : std::runtime_error("Line " + std::to_string(l) + ": " + what + "."), line(l) {}

namespace {

std::optional<BuildingBlock> ReadBuilding(Reader& r) {
    const std::string& b0 = r.Next("the building length or \"FALSE\"");
    if (b0 != kAbsent) {
        BuildingBlock b;
        b.length = r.CheckNumber(b0, "the building length", platform::NumberKind::Single);
        b.width = r.Number("the building width");
        b.shelterArea = r.Number("the shelter area");
        b.constructionType = r.Whole("the list position of the shelter construction type", -1, 6);
        b.minimalWindowArea = r.Whole("the state of the minimal window area box", 0, 2);
        b.hurricaneOccupancy = r.Number("the hurricane shelter occupancy");
        b.timeZone = r.Whole("the list position of the time zone", -1, 8);
        b.daylightSaving = r.Whole("the state of the daylight savings box", 0, 2);
        for (int h = 0; h < 24; ++h)
            b.hourly[static_cast<size_t>(h)] = r.Number("the tornado occupancy of hour " + std::to_string(h));
        return b;
    }
    return std::nullopt;
}

void ReadCountySelection(Reader& r, ProjectDocument& c) {
    const std::string& m = r.Next("the county selection method");
    if (m.empty()) {
        c.selectionMethod = -1;
    } else {
        auto v = platform::ParseNumber(m);
        if (!v || (*v != 0 && *v != 1 && *v != 2))
            throw ProjectFileError(
                r.lineNumber() - 1,
                "expected the county selection method (0, 1, 2 or an empty line), but found \"" + m + "\"");
        c.selectionMethod = static_cast<int>(*v);
        if (c.selectionMethod == 0) {
            const std::string& rad = r.Next("the selection radius");
            auto rv = platform::ParseNumber(rad);
            if (!rv || std::fabs(*rv) > 1e6)
                throw ProjectFileError(r.lineNumber() - 1,
                                       "expected the selection radius in miles, but found \"" + rad + "\"");
            c.selectionRadius = static_cast<float>(*rv);
        }
    }
    const int n = r.Whole("the number of selected counties", 0, 100000);
    for (int i = 0; i < n; ++i) {
        const std::string& f = r.Next("a selected county code");
        if (!IsFips(f))
            throw ProjectFileError(r.lineNumber() - 1,
                                   "expected a five-digit county FIPS code, but found \"" + f + "\"");
        c.selectedCounties.push_back(f);
    }
}

std::optional<MitigationBlock> ReadMitigation(Reader& r) {
    // "FALSE" stands for a missing block only where the file ends: a
    // description that reads "FALSE" is followed by the block's values.
    const std::string& m0 = r.Next("the mitigation project description or \"FALSE\"");
    if (m0 != kAbsent || r.MoreValuesFollow()) {
        MitigationBlock mb;
        mb.description = m0;
        mb.projectCost = r.Number("the project cost");
        mb.maintenanceCost = r.Number("the maintenance cost");
        mb.lifetime = r.Number("the project lifetime", platform::NumberKind::Whole16);
        mb.injuryCost = r.Number("the injury cost");
        mb.deathCost = r.Number("the death cost");
        mb.discountRate = r.Number("the discount rate");
        mb.designWindSpeed = r.Whole("the list position of the design wind speed", -1, 4);
        const char* names[4] = {"user-defined percent injured", "user-defined injury effectiveness",
                                "user-defined percent dead", "user-defined death effectiveness"};
        std::array<std::string, 9>* cols[4] = {&mb.userInjuryPercent, &mb.userInjuryEffectiveness, &mb.userDeathPercent,
                                               &mb.userDeathEffectiveness};
        // The user-defined cells are empty unless the user typed rates, so a
        // text editor that trims trailing empty lines cuts the file here:
        // the missing cells are read as empty.
        for (int col = 0; col < 4; ++col)
            for (int k = 0; k < 9 && !r.AtEnd(); ++k)
                (*cols[col])[static_cast<size_t>(k)] =
                    r.Number(std::string("the ") + names[col] + " of wind speed range " + std::to_string(k + 1));
        return mb;
    }
    return std::nullopt;
}

}  // namespace

ProjectDocument ParseProjectFile(const std::vector<std::string>& lines) {
    Reader r(lines);
    ProjectDocument c;
    if (lines.empty() || lines[0] != kHeader) throw ProjectFileError(1, std::string("expected \"") + kHeader + "\"");
    r.Next("the header");
    c.buildingName = r.Next("the building name");
    c.address = r.Next("the address");
    c.city = r.Next("the city");
    c.stateName = r.Next("the state");
    c.countyName = r.Next("the county");
    c.disasterNumber = r.Next("the disaster number");
    c.projectNumber = r.Next("the project number");
    c.scenarioRunId = r.Next("the scenario run ID");
    c.analyst = r.Next("the analyst");

    c.building = ReadBuilding(r);
    ReadCountySelection(r, c);
    c.mitigation = ReadMitigation(r);
    return c;
}

std::vector<std::string> FormatProjectFile(const ProjectDocument& c) {
    // One value per line: a line break inside a text (the description's
    // Enter) is written as a single space.
    std::vector<std::string> out{kHeader,
                                 OneLine(c.buildingName),
                                 OneLine(c.address),
                                 OneLine(c.city),
                                 OneLine(c.stateName),
                                 OneLine(c.countyName),
                                 OneLine(c.disasterNumber),
                                 OneLine(c.projectNumber),
                                 OneLine(c.scenarioRunId),
                                 OneLine(c.analyst)};
    if (c.building) {
        const BuildingBlock& b = *c.building;
        out.insert(out.end(), {b.length, b.width, b.shelterArea, std::to_string(b.constructionType),
                               std::to_string(b.minimalWindowArea), b.hurricaneOccupancy, std::to_string(b.timeZone),
                               std::to_string(b.daylightSaving)});
        out.insert(out.end(), b.hourly.begin(), b.hourly.end());
    } else {
        out.push_back(kAbsent);
    }
    out.push_back(c.selectionMethod == -1 ? std::string() : std::to_string(c.selectionMethod));
    if (c.selectionMethod == 0) out.push_back(GeneralText(c.selectionRadius));
    out.push_back(std::to_string(c.selectedCounties.size()));
    out.insert(out.end(), c.selectedCounties.begin(), c.selectedCounties.end());
    if (c.mitigation) {
        const MitigationBlock& m = *c.mitigation;
        out.insert(out.end(), {OneLine(m.description), m.projectCost, m.maintenanceCost, m.lifetime, m.injuryCost,
                               m.deathCost, m.discountRate, std::to_string(m.designWindSpeed)});
        for (const auto* col :
             {&m.userInjuryPercent, &m.userInjuryEffectiveness, &m.userDeathPercent, &m.userDeathEffectiveness})
            out.insert(out.end(), col->begin(), col->end());
    } else {
        out.push_back(kAbsent);
    }
    return out;
}

}  // namespace verrane::project
