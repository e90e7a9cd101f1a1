#include "app/screening.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <set>
#include <thread>

#include "app/provenance_out.h"
#include "model/hazard.h"
#include "platform/number.h"
#include "project/document_analysis.h"
#include "project/document_edits.h"
#include "project/fields.h"

namespace verrane::screening {

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

// The template's hurricane occupancy is above 0.
bool HasHurricaneOccupancy(const project::ProjectDocument& d) {
    const std::string occupancy = d.building ? d.building->hurricaneOccupancy : std::string();
    const auto v = platform::ParseNumber(occupancy);
    return !occupancy.empty() && v && platform::RoundHalfEven(*v) >= 1;
}

}  // namespace

std::string CannotScreenReason(const project::ProjectDocument& tmpl) {
    if (project::NotAnalysedReason(tmpl, false).empty()) return "";
    std::vector<const project::Field*> missing = project::MissingForAnalysis(tmpl);
    const auto place = [](const project::Field* f) {
        return f->name == "ProjectStateName" || f->name == "ProjectCountyName";
    };
    missing.erase(std::remove_if(missing.begin(), missing.end(), place), missing.end());
    return "The counties cannot be screened until these inputs of the project are entered: " +
           project::MissingInputsText(missing) + ".";
}

std::vector<Target> Targets(const platform::ReferenceData& reference, const std::vector<std::string>& states) {
    std::vector<Target> out;
    for (const std::string& state : states) {
        const std::vector<std::string> names = reference.CountyNames(state);
        const std::vector<std::string> codes = reference.StateCounties(state);
        for (size_t i = 0; i < names.size() && i < codes.size(); ++i) out.push_back({state, names[i], codes[i]});
    }
    return out;
}

// The state and county chosen on the Project Information screen, a hurricane
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

std::vector<CountyRun> ScreenAll(const project::ProjectDocument& tmpl, const RegionChoice& region,
                                 const std::vector<Target>& targets, const platform::ReferenceData& reference,
                                 std::vector<ScreenRow>& rows, const Progress& progress) {
    rows.clear();
    for (const Target& t : targets) rows.push_back({t.fips, t.state, t.county, std::nullopt, 0});
    std::vector<CountyRun> runs(targets.size());
    // From here on the reference data is only read.
    reference.ReadAllOnce();
    std::atomic<size_t> next{0}, done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    const auto work = [&] {
        for (size_t i = next++; i < targets.size() && !stop; i = next++) {
            runs[i] = ScreenCounty(tmpl, region, targets[i], reference, rows[i]);
            {
                const std::lock_guard<std::mutex> lock(mutex);
                ++done;
            }
            finished.notify_one();
        }
    };
    const size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 8);
    std::vector<std::thread> helpers;
    // Without a progress report the calling thread screens too; with one it
    // reports, and the helpers screen.
    const size_t helping = progress ? threads : threads - 1;
    for (size_t k = 0; k < helping && k < targets.size(); ++k) helpers.emplace_back(work);
    if (!progress) {
        work();
    } else {
        // Told at least every 50 ms, so that a window stays live and can cancel.
        for (;;) {
            const size_t now = done;
            if (!progress(now, targets.size())) {
                stop = true;
                break;
            }
            if (now == targets.size()) break;
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return done != now; });
        }
    }
    for (std::thread& h : helpers) h.join();
    if (stop) {
        rows.clear();
        runs.clear();
    }
    return runs;
}

std::string HurricaneOccupancyIgnoredText(const std::string& state) {
    return state + " is not hurricane-prone: the template's hurricane occupancy is taken as 0 in its counties";
}

std::vector<std::string> StatesWithHurricaneOccupancyIgnored(const std::vector<ScreenRow>& rows) {
    std::vector<std::string> out;
    for (const ScreenRow& row : rows)
        if (row.hurricaneOccupancyIgnored && std::find(out.begin(), out.end(), row.state) == out.end())
            out.push_back(row.state);
    return out;
}

std::string RegionText(const RegionChoice& region, const project::ProjectDocument& tmpl) {
    auto miles = [](const std::string& m) { return "counties within " + m + " miles"; };
    const int method = tmpl.selectionMethod;
    if (region.entireState || (!region.miles && method == 1)) return "entire state";
    if (region.miles) return miles(std::to_string(*region.miles));
    if (method == 0) return miles(platform::GeneralText(tmpl.selectionRadius));
    if (method == 2) return "project county alone (counties picked on the map)";
    return "project county alone";
}

std::string MapSubtitle(const std::string& state, bool all, const std::string& regionText) {
    const std::string where = all ? "every county" : "the counties of " + state;
    return "Benefit-cost ratio in " + where + "; " + regionText;
}

std::string ScreenCsvHeader() {
    return "FIPS,State,County,TornadoBenefits,HurricaneBenefits,TotalBenefits,AnnualizedCost,NetBenefits,"
           "BenefitCostRatio,SampleCounties,F3Tornadoes,Sufficient,HurricaneOccupancyIgnored" +
           ProvenanceCsvHeader();
}

std::string ScreenCsvLine(const ScreenRow& row) {
    using platform::ShortestNumber;
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

std::string ScreenCsv(const std::vector<ScreenRow>& rows) {
    std::string csv = ScreenCsvHeader() + "\n";
    for (const ScreenRow& row : rows) csv += ScreenCsvLine(row) + "\n";
    return csv;
}

}  // namespace verrane::screening
