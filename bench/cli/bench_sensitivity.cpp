// One whole sensitivity run in the process: the project's own analysis, its
// variations, the breakeven searches and the 10,000 draws, each re-analysis
// a copy of the project document on the shipped data. And the draws alone.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "app/app.h"
#include "app/project_edit.h"
#include "app/sensitivity.h"
#include "model/uncertainty.h"
#include "platform/paths.h"
#include "screens/project/form2.h"

namespace {

namespace fs = std::filesystem;
using namespace verrane;

project::ProjectDocument Example(model::UncertaintyInput* draws = nullptr) {
    platform::SetDataDir(VERRANE_SOURCE_DATA_DIR);
    platform::ScriptedDialogs dialogs;
    App app(dialogs);
    OpenProjectFile(app, dialogs, fs::path(VERRANE_SOURCE_DIR) / "examples" / "oklahoma-school-gym.tor");
    const project::ProjectDocument d = app.form2().StoreDocument();
    if (draws) AnalyseEdited(d, platform::ReferenceData::InMemory(platform::ReferenceDatabasePath()), {}, draws);
    return d;
}

void BM_SensitivityRun(benchmark::State& state) {
    const project::ProjectDocument d = Example();
    size_t analyses = 0;
    for (auto _ : state) {
        const model::SensitivityResult r = RunSensitivity(d, "example");
        analyses = r.variations.size();
        benchmark::DoNotOptimize(r.uncertainty.tornadoBenefits);
    }
    state.counters["variations"] = static_cast<double>(analyses);
}
BENCHMARK(BM_SensitivityRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_UncertaintyDraws(benchmark::State& state) {
    model::UncertaintyInput in;
    Example(&in);
    for (auto _ : state) benchmark::DoNotOptimize(model::DrawUncertainty(in).tornadoBenefits);
}
BENCHMARK(BM_UncertaintyDraws)->Unit(benchmark::kMillisecond);

}  // namespace
