// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the benchmark programs share: the command line that interleaves repetitions, and a
// reporter that prints each measured program's ratio to its baseline from the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

/// The arguments with five repetitions, randomly interleaved and reported as aggregates, unless
/// the command line says otherwise. The strings live as long as the program.
inline std::vector<char*> WithInterleavedRepetitions(int argc, char** argv) {
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char repetitions[] = "--benchmark_repetitions=5";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    std::vector<char*> args(argv, argv + argc);
    auto given = [&](const char* flag) {
        for (int i = 1; i < argc; ++i)
            if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
                return true;
        return false;
    };
    if (!given("--benchmark_enable_random_interleaving"))
        args.push_back(interleave);
    if (!given("--benchmark_repetitions"))
        args.push_back(repetitions);
    if (!given("--benchmark_report_aggregates_only"))
        args.push_back(aggregates);
    return args;
}

/// Whether a run ended in an error or was skipped: Google Benchmark 1.8 replaced the run's
/// `error_occurred` with `skipped`.
template <typename Run>
bool RunFailed(const Run& run) {
    if constexpr (requires { run.skipped; })
        return run.skipped != decltype(run.skipped){};
    else
        return run.error_occurred;
}

/// Shows the usual console output and keeps the wall and CPU time per iteration of every
/// benchmark (the median when repetitions are asked for). On a machine shared with other work the
/// CPU-time ratio is the steadier one, so it is printed first.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (RunFailed(run))
                continue;
            const std::string name = run.benchmark_name();
            const std::string base = run.run_name.str();
            const Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            // A run without arguments is found by its function's name too, whatever options
            // ("iterations:3/process_time") its full name carries.
            const std::string key = run.run_name.args.empty() ? run.run_name.function_name : base;
            if (run.run_type == Run::RT_Iteration && !m_median.count(key))
                m_times[key] = times;
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[key] = m_times[key] = times;
        }
    }

    /// Median CPU and wall time of a run by its name ("BM_Load", "BM_Wrap/1024"), in the unit of
    /// its report (milliseconds where the benchmark asks for them).
    bool Find(const std::string& name, double& cpu, double& real) const {
        const auto found = m_times.find(name);
        if (found == m_times.end())
            return false;
        cpu = found->second.cpu;
        real = found->second.real;
        return true;
    }

    void PrintRatio(const std::string& measured, const std::string& baseline) const {
        double mc = 0, mr = 0, bc = 0, br = 0;
        if (!Find(measured, mc, mr) || !Find(baseline, bc, br) || bc <= 0 || br <= 0)
            return;
        std::printf("%s / %s = %.2f (CPU), %.2f (wall)\n", measured.c_str(), baseline.c_str(),
                    mc / bc, mr / br);
    }

private:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> m_times;
    std::map<std::string, Times> m_median;
};

/// Runs the benchmarks the arguments select through reporter; false when an argument is not
/// understood (after saying so).
inline bool RunBenchmarks(std::vector<char*> args, RatioReporter& reporter) {
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return false;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return true;
}
