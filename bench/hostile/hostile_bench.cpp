// kelmor-cli on every case of the suite's hostile corpus (tests/tools/hostile), once each: the
// wall time of the run, with its peak memory and exit status as counters. Every command should
// end in under 2 s; a run past that is labelled "over 2 s", one still running after a minute is
// killed and labelled so. The figures are reported, not checked.
#include "hostile/hostile_corpus.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr double kBoundSeconds = 2;
constexpr int kWatchdogSeconds = 60;

void runOnce(benchmark::State& state, const std::filesystem::path& site,
             const kelmor::test::HostileCase& c) {
    kelmor::test::ChildRun run;
    for (auto _ : state) {
        run = kelmor::test::runCase(KELMOR_CLI, site, c, kWatchdogSeconds);
        state.SetIterationTime(run.seconds);
    }
    state.counters["peak_MB"] = static_cast<double>(run.peakKiB) * 1024 / 1e6;
    state.counters["status"] = run.status;
    if (run.timedOut)
        state.SetLabel("killed after 60 s");
    else if (run.seconds > kBoundSeconds)
        state.SetLabel("over 2 s");
}

} // namespace

int main(int argc, char** argv) {
    std::string root = (std::filesystem::temp_directory_path() / "kelmor-hostile-XXXXXX").string();
    if (!::mkdtemp(root.data()))
        return 1;
    const std::filesystem::path site = std::filesystem::path(root) / "site";
    kelmor::test::writeHostileCorpus(site);
    for (const kelmor::test::HostileCase& c : kelmor::test::hostileCases())
        benchmark::RegisterBenchmark(("Hostile/" + c.name).c_str(), runOnce, site, c)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(root);
    return 0;
}
