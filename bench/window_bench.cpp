// Gestures through the real main window, on the demo diary (with a note on
// every day) against a fresh diary: the note search over every day, storing
// a note on a keystroke, a full redraw of the chart, and the start.
//
//   build/bench/window_bench

#include "bench/diaries.h"
#include "main/diary/notetext.h"
#include "main/panels.h"
#include "main/platform.h"
#include "main/zeb6.h"
#include "store/create.h"
#include "store/table.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
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
        const QString text = QStringLiteral("Morgens gewogen, mittags Salat, abends Gemüse mit Reis. ").repeated(6);
        for (QDate d = install::kFirstDay; d <= kToday; d = d.addDays(1)) {
            store::Row row{d, qint64(0)};
            for (const QString& part : notetext::split(text + d.toString(Qt::ISODate)))
                row.push_back(part);
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

// The start of the main window on the demo diary as it is (stale:0) and
// with one day's totals left stale by a crash (stale:1), which the start
// sums anew and writes.
void BM_StartUp(benchmark::State& state)
{
    static QTemporaryDir copy;
    static const QByteArray sound = [] {
        const QDir demo(diaries().dir(1));
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), QDir(copy.path()).filePath(name));
        QFile file(QDir(copy.path()).filePath("ZEB_ZEB.dbf"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    static const QByteArray stale = [] {
        store::Table zeb(store::schema::zeb());
        zeb.open(copy.path());
        zeb.locate("ZEBDATUM", QDate(2008, 6, 17));
        zeb.edit();
        zeb.postFields({store::Unchanged{}, store::Unchanged{}, qint64(zeb.fieldInt("ZEBENERGIE") + 1030)});
        zeb.close();
        QFile file(QDir(copy.path()).filePath("ZEB_ZEB.dbf"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    platform::setToday(kToday);
    for (auto _ : state) {
        state.PauseTiming();
        {
            QFile file(QDir(copy.path()).filePath("ZEB_ZEB.dbf"));
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(state.range(0) ? stale : sound);
        }
        state.ResumeTiming();
        TFormMain1 window(copy.path());
        benchmark::DoNotOptimize(window.StartFehler);
    }
}

BENCHMARK(BM_StartUp)->ArgName("stale")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartRedraw)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteSearchEveryDay)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoteKeystroke)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    benchmark::Initialize(&argc, argv);
    diaries();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
