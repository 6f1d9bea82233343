// The printout as a PDF on the eleven-year demo diary: the food folder of a
// day and the statistics chart, against drawing the chart on screen. Read
// the medians as ratios to the screen redraw.
//
//   build/bench/print_bench

#include "bench/diaries.h"
#include "bench/gui_main.h"
#include "controls/platform.h"
#include "main/print/printout.h"
#include "main/zeb6.h"

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2012, 12, 28);

BenchDiaries& diaries()
{
    static BenchDiaries d;
    return d;
}

std::unique_ptr<TFormMain1> openWindow(int folder)
{
    platform::setToday(kToday);
    auto window = std::make_unique<TFormMain1>(diaries().dir(1));
    window->ZoomStufeX = 1;
    window->StatistikArt = 1;
    window->LabelOrdnerClick(folder);
    return window;
}

// The PDF of the folder `folder` as the print command makes it.
void folderToPdf(benchmark::State& state, int folder)
{
    auto window = openWindow(folder);
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray pdf = print::pdf(window->printContent(), print::defaultPdfLayout());
        bytes = pdf.size();
        benchmark::DoNotOptimize(pdf.data());
    }
    state.counters["bytes"] = double(bytes);
}

void BM_FoodFolderToPdf(benchmark::State& state)
{
    folderToPdf(state, 3);
}

void BM_ChartToPdf(benchmark::State& state)
{
    folderToPdf(state, 5);
}

// The yardstick: the same chart drawn into the window.
void BM_ChartOnScreen(benchmark::State& state)
{
    auto window = openWindow(5);
    for (auto _ : state)
        window->ZeichneStatistik(false);
}

BENCHMARK(BM_ChartOnScreen)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartToPdf)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoodFolderToPdf)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv, [] { diaries(); });
}
