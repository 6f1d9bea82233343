#pragma once

#include "controls/platform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

// The main of a benchmark of windows: offscreen, silent, every dialog
// answered "no"; `layOut` lays out the diaries before the first run.
inline int runWindowBenchmarks(int argc, char** argv, void (*layOut)())
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    benchmark::Initialize(&argc, argv);
    layOut();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
