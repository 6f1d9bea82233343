// The catalogue editor through the real tools window, on the eleven-year
// demo diary against a fresh one: showing and closing the window (every list
// of both windows rebuilt), and one insert with its delete in the largest
// food category (each a synced write and a rewritten name index).
//
//   build/bench/tools_bench

#include "bench/diaries.h"
#include "bench/gui_main.h"
#include "controls/platform.h"
#include "main/zeb6.h"
#include "tools/zebtool.h"

#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2012, 12, 28);

BenchDiaries& diaries()
{
    static BenchDiaries d;
    return d;
}

struct Windows
{
    explicit Windows(int which) : main((platform::setToday(kToday), diaries().dir(which))), tools(main)
    {
        main.setSideWindows(nullptr, &tools);
        main.ListeNahrungClick(2); // "Milch+Käse", the largest food category
    }
    TFormMain1 main;
    TToolForm1 tools;
};

void BM_ToolsShowAndClose(benchmark::State& state)
{
    Windows w(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        w.tools.show();
        w.tools.close();
    }
}

void BM_CatalogueInsertAndDelete(benchmark::State& state)
{
    Windows w(static_cast<int>(state.range(0)));
    w.tools.show();
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return true; });
    for (auto _ : state) {
        w.tools.EditTools1->setText(QStringLiteral("Mozzarella light"));
        w.tools.EditTools2->setText(QStringLiteral("700"));
        w.tools.ButtonToolsInsertClick();
        w.tools.ButtonToolsDeleteClick(); // the new entry is the selected row
    }
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    w.tools.close();
}

BENCHMARK(BM_ToolsShowAndClose)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogueInsertAndDelete)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv, [] { diaries(); });
}
