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
