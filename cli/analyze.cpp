#include "cli/analyze.h"

#include <exception>

#include <nlohmann/json.hpp>

#include "app/app.h"
#include "app/project_edit.h"
#include "cli/messages.h"
#include "cli/provenance_out.h"
#include "platform/dialogs.h"
#include "screens/analysis/form6.h"
#include "screens/analysis/result_rows.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {

std::string CsvField(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}
}  // namespace

bool AnalyzeProject(const std::filesystem::path& file, std::ostream& messages,
                    const std::function<void(App&)>& onResults, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = std::filesystem::exists(file, ec) ? "not a file" : "no such file";
        return false;
    }
    platform::ScriptedDialogs dialogs;
    dialogs.onMessage = [&](const platform::Message& m) {
        // The save prompt of File > Open is answered here, not by the user.
        if (m.text == kSaveChangesPrompt) return;
        PrintMessage(messages, m);
    };
    try {
        App app(dialogs);
        Form2& f2 = app.form2();
        if (OpenProjectFile(app, dialogs, file).status == project::FileStatus::Rejected) {
            error = "rejected: incorrect format";
            return false;
        }
        // No figures from inputs that are missing: the window keeps the
        // analysis off for such a project.
        if (error = NotAnalysedReason(f2.StoreDocument()); !error.empty()) return false;
        f2.Command1_Click(3);
        Form6* f6 = app.Loaded<Form6>();
        if (!f6 || app.front() != f6) {
            error = "not analysed: the project has no state and county";
            return false;
        }
        onResults(app);
    } catch (const std::exception& e) {
        error = std::string("failed: ") + e.what();
        return false;
    }
    return true;
}

AnalysisOutput OutputOf(App& app) {
    const Form6& f6 = app.form6();
    AnalysisOutput o{f6.Results, f6.Texts, {}, app.form2().SelectedCounties};
    for (size_t box = 0; box < o.captions.size(); ++box)
        o.captions[box] = f6.Label2[static_cast<size_t>(ResultCaptionLabel(box))].caption();
    return o;
}

AnalysisOutput OutputOf(const project::DocumentAnalysis& a, const project::ProjectDocument& document) {
    const std::string lifetime = document.mitigation ? document.mitigation->lifetime : std::string();
    return {a.result, FormatResults(a.result), ResultCaptions(lifetime), document.selectedCounties};
}

std::vector<ResultLine> ResultLines(const AnalysisOutput& o) {
    std::vector<ResultLine> lines;
    lines.reserve(kResultRows.size());
    for (auto [box, label] : kResultRows)
        lines.push_back({o.captions[static_cast<size_t>(box)], o.texts[static_cast<size_t>(box)]});
    return lines;
}

namespace {
// Before the first analysis with tornado statistics the lists are empty.
template <size_t N>
std::vector<double> List(const std::optional<model::FProbsResult>& t,
                         std::array<double, N> model::FProbsResult::*field) {
    if (!t) return {};
    const auto& a = (*t).*field;
    return {a.begin(), a.end()};
}
}  // namespace

std::string JsonObject(const AnalysisOutput& o, const std::string& file) {
    const model::AnalysisResult& r = o.result;
    const auto& t = r.tornado;
    nlohmann::ordered_json j;
    j["File"] = file;
    j["TornadoBenefitsText"] = o.texts[kTornadoBenefitsBox];
    j["HurricaneBenefitsText"] = o.texts[kHurricaneBenefitsBox];
    j["TotalBenefitsText"] = o.texts[kTotalBenefitsBox];
    j["AnnualizedCostText"] = o.texts[kAnnualizedCostBox];
    j["NetBenefitsText"] = o.texts[kNetBenefitsBox];
    j["BenefitCostRatioText"] = o.texts[kBenefitCostRatioBox];
    j["LivesSavedText"] = o.texts[kLivesSavedBox];
    j["InjuriesAvoidedText"] = o.texts[kInjuriesAvoidedBox];
    j["TornadoBenefits"] = r.tornadoBenefits;
    j["HurricaneBenefits"] = r.hurricaneBenefits;
    j["AnnualizedCost"] = r.annualizedCost;
    j["AnnualDeathsAvoided"] = r.annualDeathsAvoided;
    j["AnnualInjuriesAvoided"] = r.annualInjuriesAvoided;
    j["ReportCountyArea"] = t ? static_cast<double>(t->reportCountyArea) : 0.0;
    j["ReportRegionArea"] = t ? t->reportRegionArea : 0.0;
    j["ReportRecordYears"] = t ? t->reportRecordYears : int16_t{0};
    j["ReportCountByF"] = List(t, &model::FProbsResult::reportCountByF);
    j["AnnualCountByF"] = List(t, &model::FProbsResult::annualCountByF);
    j["ReportPathLengthByF"] = List(t, &model::FProbsResult::reportPathLengthByF);
    j["ReportPathAreaByF"] = List(t, &model::FProbsResult::reportPathAreaByF);
    j["AnnualPathAreaByF"] = List(t, &model::FProbsResult::annualPathAreaByF);
    j["EffectiveAreaByF"] = List(t, &model::FProbsResult::effectiveAreaByF);
    j["StrikeProbabilityByF"] = List(t, &model::FProbsResult::strikeProbabilityByF);
    j["ReportHurricaneWind"] = r.reportHurricaneWind;
    j["HurricaneRangeProbability"] = r.hurricaneRangeProbability;
    j["CountiesNote"] = r.countiesNote;
    j["SufficiencyNote"] = r.sufficiencyNote;
    j["UserRatesNote"] = r.userRatesNote;
    j["SelectedCounties"] = o.selectedCounties;
    j["Provenance"] = ProvenanceJson();
    // Texts come from project files in the system code page; never fail on them.
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string CsvHeader() {
    return "File,TornadoBenefitsText,HurricaneBenefitsText,TotalBenefitsText,AnnualizedCostText,NetBenefitsText,"
           "BenefitCostRatioText,LivesSavedText,InjuriesAvoidedText,TornadoBenefits,HurricaneBenefits,AnnualizedCost,"
           "AnnualDeathsAvoided,AnnualInjuriesAvoided" +
           ProvenanceCsvHeader();
}

std::string CsvLine(const AnalysisOutput& o, const std::string& file) {
    const model::AnalysisResult& r = o.result;
    std::string line = CsvField(file);
    for (size_t box : {kTornadoBenefitsBox, kHurricaneBenefitsBox, kTotalBenefitsBox, kAnnualizedCostBox,
                       kNetBenefitsBox, kBenefitCostRatioBox, kLivesSavedBox, kInjuriesAvoidedBox})
        line += "," + CsvField(o.texts[box]);
    for (double v :
         {r.tornadoBenefits, r.hurricaneBenefits, r.annualizedCost, r.annualDeathsAvoided, r.annualInjuriesAvoided})
        line += "," + ShortestNumber(v);
    return line + ProvenanceCsvFields();
}

int RunAnalyze(const std::vector<std::string>& files, OutputFormat format, std::ostream& out, std::ostream& err) {
    int status = 0;
    bool first = true;
    if (format == OutputFormat::Json) out << "[";
    if (format == OutputFormat::Csv) out << CsvHeader() << "\n";
    for (const std::string& file : files) {
        std::string error;
        const bool ok = AnalyzeProject(
            file, err,
            [&](App& app) {
                const AnalysisOutput output = OutputOf(app);
                switch (format) {
                    case OutputFormat::Json:
                        out << (first ? "\n" : ",\n") << JsonObject(output, file);
                        break;
                    case OutputFormat::Csv:
                        out << CsvLine(output, file) << "\n";
                        break;
                    case OutputFormat::Text:
                        if (!first) out << "\n";
                        out << file << "\n";
                        for (const auto& l : ResultLines(output)) out << "  " << l.label << ":" << l.text << "\n";
                        break;
                }
                first = false;
            },
            error);
        if (!ok) {
            err << "verrane-cli: " << file << ": " << error << "\n";
            status = 1;
        }
    }
    if (format == OutputFormat::Json) out << (first ? "]\n" : "\n]\n");
    out.flush();
    return status;
}

}  // namespace verrane::cli
