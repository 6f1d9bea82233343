// From the start of the program to the first paint of its main window, step
// by step as main() takes them, on a real X display: the screen probe that
// chooses the scale, the application, the three windows with the whole
// start-up of the diary, and showing the main window until it has painted.
// Fresh diary (demo:0) against the demo diary (demo:1); the counters give
// each step's share in milliseconds, and the end prints the ratios.
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/firstpaint_bench

#include "bench/diaries.h"
#include "controls/platform.h"
#include "help/zebhelp.h"
#include "main/zeb6.h"
#include "tools/zebtool.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

int g_argc = 0;
char** g_argv = nullptr;

BenchDiaries& diaries()
{
    static BenchDiaries d;
    return d;
}

// Notes the main window's first paint.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* window) { window->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void BM_StartToFirstPaint(benchmark::State& state)
{
    const QString dir = diaries().dir(static_cast<int>(state.range(0)));
    const QByteArray scale = qgetenv("QT_SCALE_FACTOR");
    double probe = 0, application = 0, windows = 0, shown = 0;
    for (auto _ : state) {
        // The probe may set a scale for the application; each start begins
        // with the scale the run was started with.
        if (scale.isNull())
            qunsetenv("QT_SCALE_FACTOR");
        else
            qputenv("QT_SCALE_FACTOR", scale);
        QElapsedTimer clock;
        clock.start();
        platform::fitScaleToScreen(g_argc, g_argv, QSize(780, 554));
        const qint64 t1 = clock.nsecsElapsed();
        int argc = g_argc;
        QApplication app(argc, g_argv);
        const qint64 t2 = clock.nsecsElapsed();
        qint64 t3 = 0;
        {
            TFormMain1 main(dir);
            THelpForm1 help;
            help.showDiaryRange(&main.range());
            TToolForm1 tools(main);
            main.setSideWindows(&help, &tools);
            platform::placeOnScreen(main);
            platform::placeOnScreen(help);
            platform::placeOnScreen(tools);
            t3 = clock.nsecsElapsed();
            PaintWatch watch(&main);
            main.show();
            while (!watch.painted)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            const qint64 t4 = clock.nsecsElapsed();
            state.SetIterationTime(t4 / 1e9);
            probe += t1 / 1e6;
            application += (t2 - t1) / 1e6;
            windows += (t3 - t2) / 1e6;
            shown += (t4 - t3) / 1e6;
            main.hide();
        }
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["probe_ms"] = probe / n;
    state.counters["app_ms"] = application / n;
    state.counters["windows_ms"] = windows / n;
    state.counters["paint_ms"] = shown / n;
}

BENCHMARK(BM_StartToFirstPaint)
    ->ArgName("demo")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

class RatioReporter : public DemoRatioReporter
{
public:
    void print() const
    {
        for (const auto& [name, fresh] : m_fresh) {
            const auto demo = m_demo.find(name);
            if (demo != m_demo.end())
                std::printf("\n%s: fresh %.2f ms, demo %.2f ms, demo/fresh %.2f\n", name.c_str(), fresh,
                            demo->second, demo->second / fresh);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    g_argc = argc;
    g_argv = argv;
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    platform::setToday(QDate(2012, 12, 28));
    benchmark::Initialize(&argc, argv);
    g_argc = argc;
    diaries();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print();
    benchmark::Shutdown();
    return 0;
}
