#include "cli/sensitivity_cmd.h"

#include <array>
#include <cmath>
#include <exception>
#include <iomanip>
#include <ostream>

#include <nlohmann/json.hpp>

#include "app/app.h"
#include "app/project_edit.h"
#include "app/sensitivity.h"
#include "cli/messages.h"
#include "platform/dialogs.h"
#include "platform/number.h"
#include "reports/sensitivity_report.h"
#include "screens/project/form2.h"

namespace verrane::cli {

namespace {

nlohmann::ordered_json Optional(const std::optional<double>& v) {
    return v ? nlohmann::ordered_json(*v) : nlohmann::ordered_json(nullptr);
}

void PutFigures(nlohmann::ordered_json& j, const model::Figures& f) {
    j["BenefitCostRatio"] = Optional(f.benefitCostRatio);
    j["NetBenefits"] = f.netBenefits;
    j["TotalBenefits"] = f.totalBenefits;
    j["AnnualizedCost"] = f.annualizedCost;
}

using platform::MoneyText;
using platform::RatioText;

std::string LabelOf(const model::Variation& v) { return v.label.empty() ? v.input + " " + v.value : v.label; }

}  // namespace

std::string SensitivityJson(const model::SensitivityResult& r) {
    nlohmann::ordered_json j;
    j["File"] = r.file;
    PutFigures(j["Base"], r.base);
    j["Variations"] = nlohmann::ordered_json::array();
    for (const auto& v : r.variations) {
        nlohmann::ordered_json row;
        row["Input"] = v.input;
        row["Value"] = v.value;
        row["Label"] = LabelOf(v);
        PutFigures(row, v.figures);
        j["Variations"].push_back(row);
    }
    j["Breakeven"] = {{"ProjectCost", Optional(r.breakevenProjectCost)},
                      {"DiscountRate", Optional(r.breakevenDiscountRate)}};
    const auto& u = r.uncertainty;
    nlohmann::ordered_json uj;
    uj["Draws"] = u.draws;
    uj["Seed"] = u.seed;
    uj["TornadoBenefits"] = u.tornadoBenefits;
    uj["BenefitCostRatio"] = u.ratioDefined ? nlohmann::ordered_json(u.benefitCostRatio) : nullptr;
    std::array<long long, 6> tornadoes{};  // whole numbers, printed as such
    for (size_t f = 0; f < 6; ++f) tornadoes[f] = std::llround(u.tornadoes[f]);
    uj["Tornadoes"] = tornadoes;
    j["Uncertainty"] = uj;
    j["Notes"] = r.notes;
    return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void PrintSensitivityText(std::ostream& out, const model::SensitivityResult& r) {
    auto row = [&out](const std::string& label, const model::Figures& f) {
        out << "  " << std::left << std::setw(36) << label << std::right << std::setw(10)
            << RatioText(f.benefitCostRatio) << std::setw(16) << MoneyText(f.netBenefits) << std::setw(16)
            << MoneyText(f.totalBenefits) << std::setw(16) << MoneyText(f.annualizedCost) << "\n";
    };
    out << r.file << "\n";
    out << "  " << std::left << std::setw(36) << "Input and value" << std::right << std::setw(10) << "Ratio"
        << std::setw(16) << "Net benefits" << std::setw(16) << "Total benefits" << std::setw(16) << "Annual cost"
        << "\n";
    row("(as entered)", r.base);
    for (const auto& v : r.variations) row(LabelOf(v), v.figures);
    for (const auto& note : r.notes) out << "  " << note << "\n";
    if (const std::string sentence = reports::SwingSentence(r); !sentence.empty()) out << "  " << sentence << "\n";
    out << "  Breakeven project cost: "
        << (r.breakevenProjectCost ? MoneyText(*r.breakevenProjectCost) : "none (no positive cost gives a ratio of 1)")
        << "\n";
    out << "  Breakeven discount rate: "
        << (r.breakevenDiscountRate ? platform::FormatNumber(*r.breakevenDiscountRate, "##0.0000") + " %"
                                    : "none from 0 to 20 %")
        << "\n";
    const auto& u = r.uncertainty;
    out << "  90 % interval from the tornado record (" << platform::FormatNumber(u.draws, "###,##0") << " draws, seed "
        << u.seed << "), 5th / 50th / 95th percentile:\n";
    out << "    Tornado benefits: " << MoneyText(u.tornadoBenefits[0]) << " / " << MoneyText(u.tornadoBenefits[1])
        << " / " << MoneyText(u.tornadoBenefits[2]) << "\n";
    if (u.ratioDefined)
        out << "    Benefit-cost ratio: " << RatioText(u.benefitCostRatio[0]) << " / "
            << RatioText(u.benefitCostRatio[1]) << " / " << RatioText(u.benefitCostRatio[2]) << "\n";
    else
        out << "    Benefit-cost ratio: Undefined\n";
}

int RunSensitivityCommand(const std::filesystem::path& project, bool json, const std::filesystem::path& pdf,
                          std::ostream& out, std::ostream& err) {
    if (!IsProjectFile(project, err)) return 1;
    if (!pdf.empty() && !IsWritableOutput(pdf, {project}, err)) return 1;
    model::SensitivityResult result;
    try {
        platform::ScriptedDialogs dialogs;
        dialogs.onMessage = [&err](const platform::Message& m) {
            if (m.text != kSaveChangesPrompt) PrintMessage(err, m);
        };
        project::ProjectDocument document;
        {
            App app(dialogs);
            if (!OpenProjectFile(app, dialogs, project).ok()) {
                err << "verrane-cli: " << project.string() << ": rejected: incorrect format\n";
                return 1;
            }
            document = app.form2().StoreDocument();
        }
        if (const std::string reason = NotAnalysedReason(document); !reason.empty()) {
            err << "verrane-cli: " << project.string() << ": " << reason << "\n";
            return 1;
        }
        result = RunSensitivity(document, project.string());
    } catch (const std::exception& e) {
        err << "verrane-cli: " << project.string() << ": " << e.what() << "\n";
        return 1;
    }
    if (json)
        out << SensitivityJson(result) << "\n";
    else
        PrintSensitivityText(out, result);
    out.flush();
    if (!pdf.empty()) {
        std::string error;
        if (!reports::WriteSensitivityPdf(result, pdf, error)) {
            err << "verrane-cli: " << error << "\n";
            return 1;
        }
    }
    return 0;
}

}  // namespace verrane::cli
