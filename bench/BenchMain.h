#pragma once

// How every benchmark program runs and reports: Google Benchmark's options and selection under a
// Qt application, and the statistics of repeated runs.
#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace bench {

inline double minimum(const std::vector<double> &v) {
    return *std::min_element(v.begin(), v.end());
}

inline double maximum(const std::vector<double> &v) {
    return *std::max_element(v.begin(), v.end());
}

// Ten runs, reported as their mean, median, deviation, least and most.
inline void tenRepetitions(benchmark::internal::Benchmark *b) {
    b->Repetitions(10)
        ->ComputeStatistics("min", minimum)
        ->ComputeStatistics("max", maximum)
        ->ReportAggregatesOnly();
}

// A benchmark that draws a grid does so offscreen unless a display is asked for.
inline void offscreenUnlessAsked() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline void runSelected() {
    benchmark::RunSpecifiedBenchmarks();
}

// A program's main: the application of type App (QApplication where a benchmark draws), then
// `run` with the benchmarks the command line selects; 1 for an option nobody knows.
template <typename App>
int runBenchmarks(int argc, char **argv, const std::function<void()> &run = runSelected) {
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    run();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
