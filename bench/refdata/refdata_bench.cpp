// Import timings on the raw sources, when they sit beside the checkout
// (../shared/data, or the folder named by VERRANE_RAW_DATA).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "refdata.h"

namespace {

std::string raw_dir() {
    if (const char* e = std::getenv("VERRANE_RAW_DATA")) return e;
    return std::string(VERRANE_SOURCE_DIR) + "/../shared/data";
}

void BM_BuildFromRaw(benchmark::State& state) {
    if (!std::filesystem::exists(raw_dir() + "/census/counties-10m.json")) {
        state.SkipWithError("raw sources not found");
        return;
    }
    for (auto _ : state) {
        std::ostringstream log;
        refdata::BuildResult b = refdata::build_from_raw(raw_dir(), log);
        benchmark::DoNotOptimize(b.counties.data());
    }
}
BENCHMARK(BM_BuildFromRaw)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_AssignTornadoes(benchmark::State& state) {
    if (!std::filesystem::exists(raw_dir() + "/census/counties-10m.json")) {
        state.SkipWithError("raw sources not found");
        return;
    }
    std::ostringstream log;
    refdata::BuildResult b = refdata::build_from_raw(raw_dir(), log);
    refdata::TornadoSummary s;
    std::vector<refdata::Tornado> record = refdata::read_record(refdata::record_files(raw_dir(), {}), s);
    for (auto _ : state) {
        refdata::TornadoSummary t;
        auto m = refdata::assign_tornadoes(record, b.counties, t);
        benchmark::DoNotOptimize(m.size());
    }
}
BENCHMARK(BM_AssignTornadoes)->Unit(benchmark::kMillisecond);

void BM_WriteDatabase(benchmark::State& state) {
    if (!std::filesystem::exists(raw_dir() + "/census/counties-10m.json")) {
        state.SkipWithError("raw sources not found");
        return;
    }
    std::ostringstream log;
    refdata::BuildResult b = refdata::build_from_raw(raw_dir(), log);
    std::string path = (std::filesystem::temp_directory_path() / "bench_verrane.sqlite").string();
    for (auto _ : state) refdata::write_database(path, b);
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteDatabase)->Unit(benchmark::kMillisecond);

}  // namespace
