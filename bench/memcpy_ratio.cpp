// The memcpy ratio reporter and the benchmark program's main().
#include "memcpy_ratio.h"

#include <cstdio>
#include <ostream>
#include <unistd.h>

namespace {

double cpu_seconds_per_iteration(const benchmark::BenchmarkReporter::Run &run) {
    return run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

bool is_copy(const benchmark::BenchmarkReporter::Run &run) {
    return run.run_name.function_name.rfind("BM_Memcpy", 0) == 0;
}

} // namespace

void MemcpyRatioReporter::ReportRuns(const std::vector<Run> &runs) {
    std::vector<Run> shown = runs;
    for (Run &run : shown) {
        const auto bytes = run.counters.find(FRAME_BYTES_COUNTER);
        // Spreads of a repeated run are not times; a ratio of them means nothing.
        const bool time = run.aggregate_name.empty() || run.aggregate_name == "mean" ||
                          run.aggregate_name == "median";
        if (run.error_occurred || bytes == run.counters.end() || !time)
            continue;
        const auto key = std::make_pair(bytes->second.value, run.aggregate_name);
        if (is_copy(run)) {
            copy_seconds_[key] = cpu_seconds_per_iteration(run);
            continue;
        }
        const auto copy = copy_seconds_.find(key);
        if (copy == copy_seconds_.end())
            continue;
        const double ratio = cpu_seconds_per_iteration(run) / copy->second;
        run.counters["x_memcpy"] = ratio;
        if (run.aggregate_name == "mean")
            continue;
        char line[256];
        std::snprintf(line, sizeof line, "%-52s cpu %8.1f us  memcpy %7.1f us  ratio %5.2f",
                      run.benchmark_name().c_str(), cpu_seconds_per_iteration(run) * 1e6,
                      copy->second * 1e6, ratio);
        table_.push_back(line);
    }
    ConsoleReporter::ReportRuns(shown);
}

void MemcpyRatioReporter::Finalize() {
    ConsoleReporter::Finalize();
    if (table_.empty())
        return;
    std::ostream &out = GetOutputStream();
    out << "\nComposition and presentation against a memcpy of the same frame size:\n";
    for (const std::string &line : table_)
        out << line << '\n';
}

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MemcpyRatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                                       : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
