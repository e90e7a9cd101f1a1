#include "cli/screen.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <set>

#include <nlohmann/json.hpp>

#include "app/app.h"
#include "app/project_edit.h"
#include "cli/messages.h"
#include "cli/provenance_out.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/reference_data.h"
#include "project/document_analysis.h"
#include "screens/hazard/selection.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {

using screening::CountyRun;
using screening::Outcome;
using screening::RegionChoice;
using screening::Target;

// Why a county has no figures, and the warnings of the others: each text once
// per run (the template's own warnings would otherwise repeat for every county).
class Report {
public:
    explicit Report(std::ostream& err) : err_(err) {}
    void County(const Target& t, const CountyRun& run, const ScreenRow& row) {
        const std::string where = t.fips + " " + t.county + ", " + t.state;
        if (row.hurricaneOccupancyIgnored && ignoredStates_.insert(t.state).second)
            err_ << "verrane-cli: " << screening::HurricaneOccupancyIgnoredText(t.state) << "\n";
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
    return true;
}

}  // namespace

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

        const std::vector<Target> targets = screening::Targets(reference, chosen);
        std::vector<ScreenRow> rows;
        const std::vector<CountyRun> runs = screening::ScreenAll(facts.document, region, targets, reference, rows);
        Report report(err);
        for (size_t i = 0; i < targets.size(); ++i) report.County(targets[i], runs[i], rows[i]);

        int status = 0;
        if (!r.csvFile.empty()) {
            try {
                platform::WriteFileAtomically(r.csvFile, screening::ScreenCsv(rows), {r.templateFile});
            } catch (const platform::TextFileError& e) {
                err << "verrane-cli: " << e.what() << "\n";
                status = 1;
            }
        }
        if (r.json) {
            out << ScreenJson(rows);
        } else if (r.csvFile.empty()) {
            out << screening::ScreenCsv(rows);
        }
        if (!r.mapFile.empty()) {
            const std::string title = facts.buildingName.empty()
                                          ? std::filesystem::path(r.templateFile).filename().string()
                                          : facts.buildingName;
            const std::string subtitle =
                screening::MapSubtitle(r.state, r.all, screening::RegionText(region, facts.document));
            std::string error;
            if (!WriteScreenMap(rows, title, subtitle, r.mapFile, error)) {
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
