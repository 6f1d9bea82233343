// Gestures through the real main window, on the demo diary (with a note on
// every day) against a fresh diary: the note search over every day, storing
// a note on a keystroke, a full redraw of the chart, and the start (with
// and without a stale day, with and without Qt's German texts); loading
// those texts; a whole-diary compress in the tools window.
//
//   build/bench/window_bench

#include "bench/diaries.h"
#include "bench/gui_main.h"
#include "controls/platform.h"
#include "diary/rules/notetext.h"
#include "help/zebhelp.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "store/create.h"
#include "store/table.h"
#include "tools/zebtool.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2012, 12, 28);

// The demo diary here has a note on every day, each long enough to be
// searched through.
struct Diaries : BenchDiaries
{
    Diaries()
    {
        QFile::remove(QDir(dir(1)).filePath("ZEB_XTB.dbf"));
        std::vector<store::Row> notes;
        const QString text =
            QStringLiteral("Morgens gewogen, mittags Salat, abends Gemüse mit Reis. ").repeated(6);
        for (QDate d = install::kOriginalRange.first; d <= kToday; d = d.addDays(1)) {
            store::Row row{{"XTBDATUM", d}, {"XTBKAT", qint64(0)}};
            const QStringList parts = notetext::split(text + d.toString(Qt::ISODate));
            for (int i = 0; i < notetext::kParts; ++i)
                row.push_back({notetext::kPartFields[i], parts[i]});
            notes.push_back(row);
        }
        store::createTable(dir(1), store::schema::xtb(), notes);
    }
};

Diaries& diaries()
{
    static Diaries d;
    return d;
}

std::unique_ptr<TFormMain1> openWindow(int which)
{
    platform::setToday(kToday);
    return std::make_unique<TFormMain1>(diaries().dir(which));
}

void BM_NoteSearchEveryDay(benchmark::State& state)
{
    auto window = openWindow(static_cast<int>(state.range(0)));
    window->ComboBoxNotizSuche->setCurrentIndex(5);
    window->EditNotizSuche->setText(QStringLiteral("2007-07-07"));
    for (auto _ : state)
        window->ButtonNotizSucheClick();
}

void BM_NoteKeystroke(benchmark::State& state)
{
    auto window = openWindow(static_cast<int>(state.range(0)));
    int typed = 0;
    for (auto _ : state) {
        if (++typed % 200 == 0) {
            state.PauseTiming();
            window->MemoNotiz->clear();
            state.ResumeTiming();
        }
        window->MemoNotiz->insertPlainText(QStringLiteral("x"));
    }
}

// A full redraw of the weight chart at time zoom 1: 477 days.
void BM_ChartRedraw(benchmark::State& state)
{
    auto window = openWindow(static_cast<int>(state.range(0)));
    window->ZoomStufeX = 1;
    window->StatistikArt = 1;
    for (auto _ : state)
        window->ZeichneStatistik(false);
}

// Opening the window (the whole start-up with every table), with Qt's own
// texts in English (qt_de 0) or German (qt_de 1).
void BM_OpenWindow(benchmark::State& state)
{
    const bool german = state.range(1) == 1;
    QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
    platform::installQtTranslation();
    for (auto _ : state)
        benchmark::DoNotOptimize(openWindow(static_cast<int>(state.range(0))));
    QLocale::setDefault(QLocale::c());
    platform::installQtTranslation();
}

// Loading Qt's German texts at start-up.
void BM_LoadQtTranslation(benchmark::State& state)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (auto _ : state)
        platform::installQtTranslation();
    QLocale::setDefault(QLocale::c());
    platform::installQtTranslation();
}

// A whole-diary compress clicked in the tools window, the progress bar
// moving day by day; each repetition on its own copy of the diary, the copy
// and the windows not timed.
void BM_CompressInToolsWindow(benchmark::State& state)
{
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return true; });
    const QString from = diaries().dir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto dir = std::make_unique<QTemporaryDir>();
        for (const QString& name : QDir(from).entryList(QDir::Files))
            QFile::copy(QDir(from).filePath(name), QDir(dir->path()).filePath(name));
        platform::setToday(kToday);
        auto main = std::make_unique<TFormMain1>(dir->path());
        auto help = std::make_unique<THelpForm1>();
        auto tools = std::make_unique<TToolForm1>(*main);
        main->setSideWindows(help.get(), tools.get());
        tools->show();
        tools->DateTimePickerVerwalten3->setDate(QDate(2002, 1, 2));
        tools->DateTimePickerVerwalten4->setDate(kToday.addDays(-1));
        state.ResumeTiming();
        tools->ButtonKomprimierenClick();
        state.PauseTiming();
        tools.reset();
        help.reset();
        main.reset();
        dir.reset();
        state.ResumeTiming();
    }
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
}

BENCHMARK(BM_CompressInToolsWindow)
    ->ArgName("demo")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
// The start of the main window on the demo diary as it is (stale:0) and
// with one day's totals left stale by a crash (stale:1), which the start
// sums anew and writes.
void BM_StartUp(benchmark::State& state)
{
    static const StaleDayDiary diary(diaries().dir(1));
    platform::setToday(kToday);
    for (auto _ : state) {
        state.PauseTiming();
        diary.use(state.range(0) != 0);
        state.ResumeTiming();
        TFormMain1 window(diary.dir());
        benchmark::DoNotOptimize(window.StartFehler);
    }
}

BENCHMARK(BM_StartUp)->ArgName("stale")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartRedraw)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteSearchEveryDay)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteKeystroke)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenWindow)
    ->ArgNames({"demo", "qt_de"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadQtTranslation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    return runWindowBenchmarks(argc, argv, [] { diaries(); });
}
