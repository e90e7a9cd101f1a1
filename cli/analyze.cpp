#include "cli/analyze.h"

#include <charconv>
#include <exception>

#include <nlohmann/json.hpp>

#include "app/app.h"
#include "app/project_edit.h"
#include "cli/messages.h"
#include "platform/dialogs.h"
#include "screens/analysis/form6.h"
#include "screens/analysis/result_rows.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {
const char* const kSavePrompt = "Do you want to save changes to the current project?";

std::string Number(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

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
        if (m.text == kSavePrompt) return;
        PrintMessage(messages, m);
    };
    try {
        App app(dialogs);
        Form2& f2 = app.form2();
        if (OpenProjectFile(app, dialogs, file).status == project::FileStatus::Rejected) {
            error = "rejected: incorrect format";
            return false;
        }
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

std::vector<ResultLine> ResultLines(App& app) {
    Form6& f6 = app.form6();
    std::vector<ResultLine> lines;
    for (auto [box, label] : kResultRows)
        lines.push_back({f6.Label2[static_cast<size_t>(label)].caption(), f6.Text1[static_cast<size_t>(box)].text()});
    return lines;
}

std::string JsonObject(App& app, const std::string& file) {
    const Form6& f6 = app.form6();
    nlohmann::ordered_json j;
    j["File"] = file;
    j["TornadoBenefitsText"] = f6.TornadoBenefitsText;
    j["HurricaneBenefitsText"] = f6.HurricaneBenefitsText;
    j["TotalBenefitsText"] = f6.TotalBenefitsText;
    j["AnnualizedCostText"] = f6.AnnualizedCostText;
    j["NetBenefitsText"] = f6.NetBenefitsText;
    j["BenefitCostRatioText"] = f6.BenefitCostRatioText;
    j["LivesSavedText"] = f6.LivesSavedText;
    j["InjuriesAvoidedText"] = f6.InjuriesAvoidedText;
    j["TornadoBenefits"] = f6.TornadoBenefits;
    j["HurricaneBenefits"] = f6.HurricaneBenefits;
    j["AnnualizedCost"] = f6.AnnualizedCost;
    j["AnnualDeathsAvoided"] = f6.AnnualDeathsAvoided;
    j["AnnualInjuriesAvoided"] = f6.AnnualInjuriesAvoided;
    j["ReportCountyArea"] = static_cast<double>(f6.ReportCountyArea);
    j["ReportRegionArea"] = f6.ReportRegionArea;
    j["ReportRecordYears"] = f6.ReportRecordYears;
    j["ReportCountByF"] = f6.ReportCountByF;
    j["AnnualCountByF"] = f6.AnnualCountByF;
    j["ReportPathLengthByF"] = f6.ReportPathLengthByF;
    j["ReportPathAreaByF"] = f6.ReportPathAreaByF;
    j["AnnualPathAreaByF"] = f6.AnnualPathAreaByF;
    j["EffectiveAreaByF"] = f6.EffectiveAreaByF;
    j["StrikeProbabilityByF"] = f6.StrikeProbabilityByF;
    j["ReportHurricaneWind"] = f6.ReportHurricaneWind;
    j["HurricaneRangeProbability"] = f6.HurricaneRangeProbability;
    j["CountiesNote"] = f6.CountiesNote;
    j["SufficiencyNote"] = f6.SufficiencyNote;
    j["UserRatesNote"] = f6.UserRatesNote;
    j["SelectedCounties"] = app.form2().SelectedCounties;
    // Texts come from project files in the system code page; never fail on them.
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string CsvHeader() {
    return "File,TornadoBenefitsText,HurricaneBenefitsText,TotalBenefitsText,AnnualizedCostText,NetBenefitsText,"
           "BenefitCostRatioText,LivesSavedText,InjuriesAvoidedText,TornadoBenefits,HurricaneBenefits,AnnualizedCost,"
           "AnnualDeathsAvoided,AnnualInjuriesAvoided";
}

std::string CsvLine(App& app, const std::string& file) {
    const Form6& f6 = app.form6();
    std::string line = CsvField(file);
    for (const std::string* t :
         {&f6.TornadoBenefitsText, &f6.HurricaneBenefitsText, &f6.TotalBenefitsText, &f6.AnnualizedCostText,
          &f6.NetBenefitsText, &f6.BenefitCostRatioText, &f6.LivesSavedText, &f6.InjuriesAvoidedText})
        line += "," + CsvField(*t);
    for (double v : {f6.TornadoBenefits, f6.HurricaneBenefits, f6.AnnualizedCost, f6.AnnualDeathsAvoided,
                     f6.AnnualInjuriesAvoided})
        line += "," + Number(v);
    return line;
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
                switch (format) {
                    case OutputFormat::Json:
                        out << (first ? "\n" : ",\n") << JsonObject(app, file);
                        break;
                    case OutputFormat::Csv:
                        out << CsvLine(app, file) << "\n";
                        break;
                    case OutputFormat::Text:
                        if (!first) out << "\n";
                        out << file << "\n";
                        for (const auto& l : ResultLines(app)) out << "  " << l.label << ":" << l.text << "\n";
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
