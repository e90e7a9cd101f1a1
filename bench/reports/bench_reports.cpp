// Producing the reports of the filled example project: layout alone, and
// layout plus the PDF file.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "reports/long_report.h"
#include "reports/short_report.h"
#include "sample_report_data.h"

using namespace verrane::reports;

namespace {

std::filesystem::path Out(const char* name) {
    auto dir = std::filesystem::temp_directory_path() / "verrane_bench_reports";
    std::filesystem::create_directories(dir);
    return dir / name;
}

void BM_LongReportPdf(benchmark::State& state) {
    const auto file = Out("long.pdf");
    for (auto _ : state) {
        ActiveReport1 r(sample::SampleLongData());
        std::string error;
        if (!r.ExportPdf(file, &error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_LongReportPdf)->Unit(benchmark::kMillisecond);

void BM_LongReportLayout(benchmark::State& state) {
    ActiveReport1 r(sample::SampleLongData());
    for (auto _ : state) benchmark::DoNotOptimize(r.Layout());
}
BENCHMARK(BM_LongReportLayout)->Unit(benchmark::kMillisecond);

// A project at the limits: a 650-character description and 533 counties,
// more than their page holds at the smallest size (the list is shortened).
void BM_LongReportLayoutCrowded(benchmark::State& state) {
    LongReportData d = sample::SampleLongData();
    d.mitigation.description.clear();
    while (d.mitigation.description.size() < 650) d.mitigation.description += "Reinforced community safe room, ";
    d.mitigation.description.resize(650);
    d.selectedCountyRows.clear();
    const char* states[] = {"Oklahoma", "Texas", "Kansas", "Arkansas", "Missouri", "New Mexico"};
    for (int i = 0; i < 533; ++i)
        d.selectedCountyRows.push_back({states[i / 100], "Pottawatomie " + std::to_string(i)});
    ActiveReport1 r(d);
    for (auto _ : state) benchmark::DoNotOptimize(r.Layout());
}
BENCHMARK(BM_LongReportLayoutCrowded)->Unit(benchmark::kMillisecond);

void BM_ShortReportPdf(benchmark::State& state) {
    const auto file = Out("short.pdf");
    for (auto _ : state) {
        ActiveReport2 r(sample::SampleShortData());
        std::string error;
        if (!r.ExportPdf(file, &error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_ShortReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace
