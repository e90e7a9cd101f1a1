#include "cli/screen.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <optional>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>

#include "app/app.h"
#include "app/project_edit.h"
#include "cli/messages.h"
#include "cli/provenance_out.h"
#include "model/hazard.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/reference_data.h"
#include "project/document_analysis.h"
#include "project/document_edits.h"
#include "project/fields.h"
#include "screens/hazard/selection.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {

// Quoted only when the text needs it.
std::string CsvText(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

struct Target {
    std::string state, county, fips;
};

// The counties in the order the Project Information screen lists them: the
// states in the state table's order, the counties of each in the order of the
// county table filtered on the state.
std::vector<Target> Targets(const platform::ReferenceData& reference, const std::vector<std::string>& states) {
    std::vector<Target> out;
    for (const std::string& state : states) {
        const std::vector<std::string> names = reference.CountyNames(state);
        const std::vector<std::string> codes = reference.StateCounties(state);
        for (size_t i = 0; i < names.size() && i < codes.size(); ++i) out.push_back({state, names[i], codes[i]});
    }
    return out;
}

// The template's hurricane occupancy is above 0.
bool HasHurricaneOccupancy(const project::ProjectDocument& d) {
    const std::string occupancy = d.building ? d.building->hurricaneOccupancy : std::string();
    const auto v = platform::ParseNumber(occupancy);
    return !occupancy.empty() && v && platform::RoundHalfEven(*v) >= 1;
}

enum class Outcome { Analysed, Failed };

struct CountyRun {
    Outcome outcome = Outcome::Failed;
    std::string why;
    std::vector<platform::Message> messages;
};

// How the request re-chooses each county's region: nothing (the template's
// own method), every county of the state, or a radius in whole miles.
struct RegionChoice {
    bool entireState = false;
    std::optional<int> miles;
};

// The template moved to one county and analysed there, as the user moves it:
// the state and county chosen on the Project Information screen, a hurricane
// occupancy the state should not have entered as 0, the region chosen on the
// hazard screen, and the analysis of that document.
CountyRun ScreenCounty(const project::ProjectDocument& tmpl, const RegionChoice& region, const Target& t,
                       const platform::ReferenceData& reference, ScreenRow& row) {
    CountyRun run;
    auto fail = [&run](std::string why) {
        run.why = std::move(why);
        return run;
    };
    try {
        project::ProjectDocument d = tmpl;
        if (!project::MoveToCounty(d, t.state, t.county, reference, run.messages))
            return fail("the county is not in the county table");
        // A state that is not hurricane-prone should have no hurricane
        // occupancy: the user enters zero, as the warning asks.
        if (HasHurricaneOccupancy(d) && !model::IsHurricaneProne(t.state)) {
            if (project::SetField(d, "HurricaneOccupancy", "0"))
                return fail("the hurricane occupancy could not be set to 0");
            row.hurricaneOccupancyIgnored = true;
        }
        const auto edit = [&](const char* name, const std::string& text) {
            return !project::EditDocument(d, name, text, reference, run.messages);
        };
        if ((region.entireState && !edit("SelectionMethod", "1")) ||
            (region.miles && !edit("SelectionRadius", std::to_string(*region.miles))))
            return fail("the region could not be chosen");

        project::DocumentAnalysis a = project::AnalyzeDocument(d, reference);
        run.messages.insert(run.messages.end(), a.messages.begin(), a.messages.end());
        if (!a.ok()) return fail(a.notAnalysed);
        if (!a.input.record) return fail("the tornado statistics could not be extracted");
        row.fips = a.projectFips;
        row.figures = model::FiguresOf(a.result);
        row.sampleCounties = d.selectedCounties.size();
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    run.outcome = Outcome::Analysed;
    return run;
}

// Every target screened, the counties shared out over the processor's cores
// (each county's analysis is independent of the others); the rows and runs
// in the targets' order.
std::vector<CountyRun> ScreenAll(const project::ProjectDocument& tmpl, const RegionChoice& region,
                                 const std::vector<Target>& targets, const platform::ReferenceData& reference,
                                 std::vector<ScreenRow>& rows) {
    rows.clear();
    for (const Target& t : targets) rows.push_back({t.fips, t.state, t.county, std::nullopt, 0});
    std::vector<CountyRun> runs(targets.size());
    // From here on the reference data is only read.
    reference.ReadAllOnce();
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < targets.size(); i = next++)
            runs[i] = ScreenCounty(tmpl, region, targets[i], reference, rows[i]);
    };
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::thread> helpers;
    for (size_t k = 1; k < threads && k < targets.size(); ++k) helpers.emplace_back(work);
    work();
    for (std::thread& h : helpers) h.join();
    return runs;
}

// Why a county has no figures, and the warnings of the others: each text once
// per run (the template's own warnings would otherwise repeat for every county).
class Report {
public:
    explicit Report(std::ostream& err) : err_(err) {}
    void County(const Target& t, const CountyRun& run, const ScreenRow& row) {
        const std::string where = t.fips + " " + t.county + ", " + t.state;
        if (row.hurricaneOccupancyIgnored && ignoredStates_.insert(t.state).second)
            err_ << "verrane-cli: " << t.state
                 << " is not hurricane-prone: the template's hurricane occupancy is taken as 0 in its counties\n";
        if (run.outcome != Outcome::Analysed) err_ << "verrane-cli: " << where << ": not analysed: " << run.why << "\n";
        for (const auto& m : run.messages) {
            if (m.text == kSaveChangesPrompt || m.icon != platform::Icon::Exclamation) continue;
            // Said once for the state above, and followed.
            if (row.hurricaneOccupancyIgnored && m.title == kNoHurricaneOccupancyTitle) continue;
            if (run.outcome == Outcome::Analysed && !told_.insert(m.text).second) continue;
            err_ << "verrane-cli: " << where << ": ";
            PrintMessage(err_, m);
        }
    }

private:
    std::ostream& err_;
    std::set<std::string> told_, ignoredStates_;
};

// The template as File > Open reads it: its building name, or why it cannot be used.
struct TemplateFacts {
    std::string buildingName;
    float method = -1, radius = 0;
    project::ProjectDocument document;  // as the screens hold it after opening
};

// False, with the reason on err, when the template cannot be read or lacks
// inputs an analysis needs.
bool ReadTemplate(const std::string& file, TemplateFacts& facts, std::ostream& err) {
    if (!IsProjectFile(file, err)) return false;
    platform::ScriptedDialogs dialogs;
    dialogs.onMessage = [&](const platform::Message& m) {
        if (m.text != kSaveChangesPrompt) PrintMessage(err, m);
    };
    App app(dialogs);
    Form2& f2 = app.form2();
    if (!OpenProjectFile(app, dialogs, file).ok()) {
        err << "verrane-cli: " << file << ": rejected: incorrect format\n";
        return false;
    }
    // The template is moved to each county, so its own county is not asked for.
    if (const std::string reason = NotAnalysedReason(f2.StoreDocument(), false); !reason.empty()) {
        err << "verrane-cli: " << file << ": " << reason << "\n";
        return false;
    }
    facts.document = f2.StoreDocument();
    facts.buildingName = facts.document.buildingName;
    facts.method = static_cast<float>(facts.document.selectionMethod);
    facts.radius = facts.document.selectionRadius;
    return true;
}

// How each county's region was chosen, for the map's subtitle.
std::string RegionText(const ScreenRequest& r, const TemplateFacts& t) {
    auto miles = [](const std::string& m) { return "counties within " + m + " miles"; };
    if (r.entireState || (!r.radius && t.method == 1)) return "entire state";
    if (r.radius) return miles(platform::GeneralText(*r.radius));
    if (t.method == 0) return miles(platform::GeneralText(t.radius));
    if (t.method == 2) return "project county alone (counties picked on the map)";
    return "project county alone";
}

}  // namespace

std::string ScreenCsvHeader() {
    return "FIPS,State,County,TornadoBenefits,HurricaneBenefits,TotalBenefits,AnnualizedCost,NetBenefits,"
           "BenefitCostRatio,SampleCounties,F3Tornadoes,Sufficient,HurricaneOccupancyIgnored" +
           ProvenanceCsvHeader();
}

std::string ScreenCsvLine(const ScreenRow& row) {
    std::string line = CsvText(row.fips) + "," + CsvText(row.state) + "," + CsvText(row.county);
    if (!row.figures) return line + ",,,,,,,,,," + ProvenanceCsvFields();
    const CountyFigures& f = *row.figures;
    for (double v : {f.tornadoBenefits, f.hurricaneBenefits, f.totalBenefits, f.annualizedCost, f.netBenefits})
        line += "," + ShortestNumber(v);
    line += "," + (f.benefitCostRatio ? ShortestNumber(*f.benefitCostRatio) : std::string());
    line += "," + std::to_string(row.sampleCounties) + "," + ShortestNumber(f.f3Tornadoes);
    line += f.sufficient ? ",true" : ",false";
    line += row.hurricaneOccupancyIgnored ? ",true" : ",false";
    return line + ProvenanceCsvFields();
}

std::string ScreenJson(const std::vector<ScreenRow>& rows) {
    std::string out = "[";
    bool first = true;
    for (const ScreenRow& row : rows) {
        nlohmann::ordered_json j;
        j["FIPS"] = row.fips;
        j["State"] = row.state;
        j["County"] = row.county;
        const CountyFigures* f = row.figures ? &*row.figures : nullptr;
        auto number = [&](const char* key, double v) { j[key] = f ? nlohmann::ordered_json(v) : nullptr; };
        number("TornadoBenefits", f ? f->tornadoBenefits : 0);
        number("HurricaneBenefits", f ? f->hurricaneBenefits : 0);
        number("TotalBenefits", f ? f->totalBenefits : 0);
        number("AnnualizedCost", f ? f->annualizedCost : 0);
        number("NetBenefits", f ? f->netBenefits : 0);
        j["BenefitCostRatio"] = f && f->benefitCostRatio ? nlohmann::ordered_json(*f->benefitCostRatio) : nullptr;
        j["SampleCounties"] = f ? nlohmann::ordered_json(row.sampleCounties) : nullptr;
        number("F3Tornadoes", f ? f->f3Tornadoes : 0);
        j["Sufficient"] = f ? nlohmann::ordered_json(f->sufficient) : nullptr;
        j["HurricaneOccupancyIgnored"] = f ? nlohmann::ordered_json(row.hurricaneOccupancyIgnored) : nullptr;
        j["Provenance"] = ProvenanceJson();
        out += (first ? "\n" : ",\n") + j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        first = false;
    }
    return out + (first ? "]\n" : "\n]\n");
}

int RunScreen(const ScreenRequest& r, std::ostream& out, std::ostream& err) {
    try {
        if (r.radius && !std::isfinite(*r.radius)) {
            err << "verrane-cli: the radius must be a number of miles from 0 to 250\n";
            return 2;
        }
        // A radius as the hazard screen's box takes it, refused in its words.
        RegionChoice region{r.entireState, std::nullopt};
        if (r.radius && !r.entireState) {
            const hazard::RadiusEntry entry = hazard::ReadRadius(platform::GeneralText(*r.radius));
            if (!entry.message.empty() || !entry.miles) {
                err << "verrane-cli: " << (entry.message.empty() ? "the radius was refused" : entry.message) << "\n";
                return 2;
            }
            region.miles = entry.miles;
        }
        // The outputs are checked before hours of work, and never replace the template.
        for (const std::string& file : {r.csvFile, r.mapFile})
            if (!file.empty() && !IsWritableOutput(file, {r.templateFile}, err)) return 1;
        TemplateFacts facts;
        if (!ReadTemplate(r.templateFile, facts, err)) return 1;

        // One read of the reference tables for the whole run; every county
        // below queries memory.
        const platform::ReferenceData reference = platform::ReferenceData::InMemory(platform::ReferenceDatabasePath());

        const std::vector<std::string> states = reference.StateNames();
        std::vector<std::string> chosen = states;
        if (!r.all) {
            if (std::find(states.begin(), states.end(), r.state) == states.end()) {
                err << "verrane-cli: unknown state \"" << r.state << "\"; the states are:";
                for (size_t i = 0; i < states.size(); ++i) err << (i ? ", " : " ") << states[i];
                err << "\n";
                return 2;
            }
            chosen = {r.state};
        }

        const std::vector<Target> targets = Targets(reference, chosen);
        std::vector<ScreenRow> rows;
        const std::vector<CountyRun> runs = ScreenAll(facts.document, region, targets, reference, rows);
        Report report(err);
        for (size_t i = 0; i < targets.size(); ++i) report.County(targets[i], runs[i], rows[i]);

        int status = 0;
        if (!r.csvFile.empty()) {
            std::string csv = ScreenCsvHeader() + "\n";
            for (const ScreenRow& row : rows) csv += ScreenCsvLine(row) + "\n";
            try {
                platform::WriteFileAtomically(r.csvFile, csv, {r.templateFile});
            } catch (const platform::TextFileError& e) {
                err << "verrane-cli: " << e.what() << "\n";
                status = 1;
            }
        }
        if (r.json) {
            out << ScreenJson(rows);
        } else if (r.csvFile.empty()) {
            out << ScreenCsvHeader() << "\n";
            for (const ScreenRow& row : rows) out << ScreenCsvLine(row) << "\n";
        }
        if (!r.mapFile.empty()) {
            const std::string title = facts.buildingName.empty()
                                          ? std::filesystem::path(r.templateFile).filename().string()
                                          : facts.buildingName;
            const std::string where = r.all ? "every county" : "the counties of " + r.state;
            std::string error;
            if (!WriteScreenMap(rows, title, "Benefit-cost ratio in " + where + "; " + RegionText(r, facts), r.mapFile,
                                error)) {
                err << "verrane-cli: " << error << "\n";
                status = 1;
            }
        }
        out.flush();
        return status;
    } catch (const std::exception& e) {
        err << "verrane-cli: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace verrane::cli
