#pragma once
// The main of a benchmark program that needs a QApplication: the offscreen platform unless one is
// chosen, so that it runs without a display.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& registerMore = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (registerMore)
        registerMore();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
