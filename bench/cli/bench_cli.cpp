// Wall time of whole verrane-cli processes: one project (start, open,
// extract, analyse, print), a batch of 1,000 project files in one process,
// and the screening of every county and one sensitivity run, each against
// one analysis.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const kExamples[] = {"oklahoma-school-gym.tor", "mississippi-coast-hospital.tor",
                                 "kansas-community-shelter.tor", "red-river-plant-user-counties.tor"};

fs::path ExamplesDir() { return fs::path(VERRANE_SOURCE_DIR) / "examples"; }

// Runs the program with its output thrown away; returns its exit status.
int RunCli(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string program = VERRANE_CLI_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (auto& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) throw std::runtime_error("cannot start " + program);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_AnalyzeOneProjectProcess(benchmark::State& state) {
    const std::string file = (ExamplesDir() / kExamples[state.range(0)]).string();
    for (auto _ : state)
        if (RunCli({"analyze", file}) != 0) state.SkipWithError("verrane-cli failed");
    state.SetLabel(kExamples[state.range(0)]);
}
BENCHMARK(BM_AnalyzeOneProjectProcess)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnalyzeBatchOf1000(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / ("verrane-bench-cli-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::vector<std::string> args = {"analyze", state.range(0) ? "--json" : "--csv"};
    for (int i = 0; i < 1000; ++i) {
        const fs::path copy = dir / ("project-" + std::to_string(i) + ".tor");
        fs::copy_file(ExamplesDir() / kExamples[i % 4], copy, fs::copy_options::overwrite_existing);
        args.push_back(copy.string());
    }
    for (auto _ : state)
        if (RunCli(args) != 0) state.SkipWithError("verrane-cli failed");
    state.SetItemsProcessed(state.iterations() * 1000);
    state.SetLabel(state.range(0) ? "--json" : "--csv");
    fs::remove_all(dir);
}
BENCHMARK(BM_AnalyzeBatchOf1000)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One batch process (`args` after the project) beside analyze processes of the
// same project, timed in the same run; the counter "ratio" is batch /
// analysis.
void BatchVersusOneAnalysis(benchmark::State& state, const std::vector<std::string>& batch) {
    const std::string file = (ExamplesDir() / kExamples[state.range(0)]).string();
    std::vector<std::string> args = {batch[0], file};
    args.insert(args.end(), batch.begin() + 1, batch.end());
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    double analyze = 0, run = 0;
    int analyses = 0, runs = 0;
    for (auto _ : state) {
        // Several analyses per batch run: one process is short and its time varies.
        for (int i = 0; i < 5; ++i) {
            const auto start = Clock::now();
            if (RunCli({"analyze", file}) != 0) state.SkipWithError("verrane-cli analyze failed");
            analyze += seconds(Clock::now() - start);
            ++analyses;
        }
        const auto start = Clock::now();
        if (RunCli(args) != 0) state.SkipWithError(("verrane-cli " + batch[0] + " failed").c_str());
        const double took = seconds(Clock::now() - start);
        run += took;
        ++runs;
        state.SetIterationTime(took);
    }
    const double perAnalysis = analyze / analyses, perRun = run / runs;
    state.counters["analyze_ms"] = perAnalysis * 1000;
    state.counters[batch[0] + "_ms"] = perRun * 1000;
    state.counters["ratio"] = perRun / perAnalysis;
    state.SetLabel(kExamples[state.range(0)]);
}

// Screening all 3,231 counties: at most 10 analyze processes.
void BM_ScreenAllCountiesVersusOneAnalysis(benchmark::State& state) {
    BatchVersusOneAnalysis(state, {"screen", "--all"});
}
BENCHMARK(BM_ScreenAllCountiesVersusOneAnalysis)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// One sensitivity run (variations, breakeven searches, 10,000 draws): at most
// 5 analyze processes.
void BM_SensitivityVersusOneAnalysis(benchmark::State& state) { BatchVersusOneAnalysis(state, {"sensitivity"}); }
BENCHMARK(BM_SensitivityVersusOneAnalysis)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

}  // namespace
