#include "tests/fuzz/project_fuzz.h"

#include <cmath>
#include <fstream>
#include <vector>

#include "app/app.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/textfile.h"
#include "project/project_file.h"
#include "screens/analysis/form6.h"
#include "screens/building/form3.h"
#include "screens/mitigation/form5.h"
#include "screens/project/form2.h"

namespace verrane::fuzz {

namespace {

bool ShowsNonFinite(const std::string& text) {
    return text.find("NaN") != std::string::npos || text.find("Infinity") != std::string::npos;
}

std::string CheckNumbers(const char* what, const std::vector<double>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        if (!std::isfinite(values[i])) return std::string(what) + "[" + std::to_string(i) + "] is not finite";
    return "";
}

std::string CheckAnalysis(App& app) {
    const Form6& f6 = app.form6();
    for (const auto& box : f6.Text1)
        if (ShowsNonFinite(box.text()))
            return "Form6.Text1(" + std::to_string(box.index) + ") shows \"" + box.text() + "\"";
    const model::AnalysisResult& r = f6.Results;
    auto list = [](const auto& a) { return std::vector<double>(a.begin(), a.end()); };
    std::vector<std::pair<const char*, std::vector<double>>> kept = {
        {"results",
         {r.tornadoBenefits, r.hurricaneBenefits, r.annualizedCost, r.annualDeathsAvoided, r.annualInjuriesAvoided,
          r.reportHurricaneWind}},
        {"HurricaneRangeProbability", list(r.hurricaneRangeProbability)}};
    if (const auto& t = r.tornado) {
        kept.push_back({"tornado areas", {t->reportRegionArea, static_cast<double>(t->reportCountyArea)}});
        kept.push_back({"AnnualCountByF", list(t->annualCountByF)});
        kept.push_back({"AnnualPathAreaByF", list(t->annualPathAreaByF)});
        kept.push_back({"EffectiveAreaByF", list(t->effectiveAreaByF)});
        kept.push_back({"StrikeProbabilityByF", list(t->strikeProbabilityByF)});
    }
    for (const auto& [what, values] : kept)
        if (std::string fault = CheckNumbers(what, values); !fault.empty()) return fault;
    if (const auto* f5 = app.Loaded<Form5>()) {
        for (const auto& cell : f5->Text2)
            if (ShowsNonFinite(cell.text()))
                return "Form5.Text2(" + std::to_string(cell.index) + ") shows \"" + cell.text() + "\"";
        for (const model::Outcome* o : {&f5->InjuryOutcome, &f5->DeathOutcome}) {
            std::vector<double> v{o->cost};
            for (int k = 0; k < 9; ++k) v.insert(v.end(), {o->pre[k], o->post[k]});
            if (std::string fault = CheckNumbers("outcome", v); !fault.empty()) return fault;
        }
    }
    return "";
}

}  // namespace

std::string CheckProjectBytes(std::string_view bytes, const std::filesystem::path& dataDir,
                              const std::filesystem::path& scratch) {
    {
        std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    platform::SetDataDir(dataDir);
    platform::ScriptedDialogs dialogs;
    try {
        App app(dialogs);
        Form2& f2 = app.form2();
        f2.Show();
        // File > Open: no to saving the empty project, then the file.
        dialogs.answers.push_back(platform::Answer::No);
        dialogs.files.push_back(scratch.string());
        f2.mnuOpen_Click();
        if (f2.Combo2.text() != kClickCounty && !f2.Combo2.text().empty()) {
            app.form6().Show();
            if (std::string fault = CheckAnalysis(app); !fault.empty()) return fault;
        }
        // Whatever loaded saves to a file that reads back.
        std::filesystem::path copy = scratch;
        copy += ".saved";
        f2.Write_File(copy);
        project::ParseProjectFile(platform::ReadTextLines(copy));
    } catch (const std::exception& e) {
        return std::string("exception: ") + e.what();
    }
    return "";
}

}  // namespace verrane::fuzz
