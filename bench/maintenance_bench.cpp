// The three maintenance runs over the whole diary (2002-01-02 to the last
// demo day), on the generated eleven-year demo diary against a fresh one.
// Each repetition works on its own copy of the diary; copying and opening
// are not timed. At the end the medians and the demo/fresh ratios are
// printed, with the opening of the four tables as the yardstick.
//
//   build/bench/maintenance_bench --benchmark_repetitions=5

#include "bench/diaries.h"
#include "store/table.h"
#include "tools/rules/maintenance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

using namespace store;

namespace {

const QDate kFirst{2002, 1, 2};
const QDate kLast = install::kLastDemoDay;

BenchDiaries& diaries()
{
    static BenchDiaries d;
    return d;
}

// A copy of a diary with its four diary tables open, filters off.
struct Copy
{
    explicit Copy(const QString& from)
    {
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(QDir(from).filePath(name), QDir(dir.path()).filePath(name));
        for (Table* t : {&ntb, &ftb, &xtb, &zeb})
            t->open(dir.path());
    }
    maintenance::DiaryTables tables() { return {ntb, ftb, xtb, zeb}; }

    QTemporaryDir dir;
    Table ntb{schema::ntb()}, ftb{schema::ftb()}, xtb{schema::xtb()}, zeb{schema::zeb()};
};

int g_lastProgress = 0;
void progress(int day)
{
    g_lastProgress = day;
}

template <typename RunFn> void timeRun(benchmark::State& state, RunFn run)
{
    const QString from = diaries().dir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<Copy>(from);
        state.ResumeTiming();
        const maintenance::Result r = run(copy->tables());
        benchmark::DoNotOptimize(r.count);
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}

void BM_OpenDiaryTables(benchmark::State& state)
{
    const QString from = diaries().dir(static_cast<int>(state.range(0)));
    QTemporaryDir dir;
    for (const QString& name : QDir(from).entryList(QDir::Files))
        QFile::copy(QDir(from).filePath(name), QDir(dir.path()).filePath(name));
    for (auto _ : state) {
        Table ntb{schema::ntb()}, ftb{schema::ftb()}, xtb{schema::xtb()}, zeb{schema::zeb()};
        for (Table* t : {&ntb, &ftb, &xtb, &zeb})
            t->open(dir.path());
        benchmark::DoNotOptimize(zeb.recordCount());
    }
}

void BM_FillGaps(benchmark::State& state)
{
    timeRun(state, [](maintenance::DiaryTables t) {
        return maintenance::fillGaps(t, kFirst, kLast, maintenance::Everything, progress).value();
    });
}

// Fill gaps that writes: the last five years emptied first (not timed).
void BM_FillGapsAfterDelete(benchmark::State& state)
{
    const QString from = diaries().dir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = std::make_unique<Copy>(from);
        maintenance::deleteAll(copy->tables(), QDate(2008, 1, 1), kLast, progress);
        state.ResumeTiming();
        const maintenance::Result r =
            maintenance::fillGaps(copy->tables(), kFirst, kLast, maintenance::Everything, progress).value();
        benchmark::DoNotOptimize(r.count);
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}

void BM_Compress(benchmark::State& state)
{
    timeRun(state, [](maintenance::DiaryTables t) {
        return maintenance::compress(t, kFirst, kLast, maintenance::Everything, progress);
    });
}

void BM_Delete(benchmark::State& state)
{
    timeRun(state,
            [](maintenance::DiaryTables t) { return maintenance::deleteAll(t, kFirst, kLast, progress); });
}

BENCHMARK(BM_OpenDiaryTables)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillGaps)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FillGapsAfterDelete)
    ->ArgName("demo")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_Compress)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Delete)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// Prints the medians, their demo/fresh ratios and their ratios to the opening.
class RatioReporter : public DemoRatioReporter
{
public:
    void print() const
    {
        const auto open = m_demo.find("BM_OpenDiaryTables");
        std::printf("\n%-20s %12s %12s %11s %14s\n", "run (whole diary)", "fresh (ms)", "demo (ms)",
                    "demo/fresh", "demo/opening");
        for (const auto& [name, fresh] : m_fresh) {
            const auto demo = m_demo.find(name);
            if (demo == m_demo.end())
                continue;
            std::printf("%-20s %12.1f %12.1f %11.2f %14.2f\n", name.c_str(), fresh, demo->second,
                        demo->second / fresh, open == m_demo.end() ? 0.0 : demo->second / open->second);
        }
    }
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    diaries();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print();
    benchmark::Shutdown();
    return 0;
}
