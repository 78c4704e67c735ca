// The main of the benchmarks that need the window layer: an application on
// the offscreen platform around the registered benchmarks.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

inline int runQtBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
