// The table operations of a user's gestures, on the generated eleven-year
// demo diary against a fresh one. At the end the demo/fresh ratio of each
// median and the memory of the opened diaries are printed.
//
//   build/bench/store_bench [--benchmark_repetitions=N]

#include "bench/diaries.h"
#include "diary/rules/booking.h"
#include "diary/rules/daysummary.h"
#include "diary/rules/daytotals.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

using namespace store;

namespace {

const QDate kBookingDay{2008, 6, 17};

BenchDiaries& diaries()
{
    static BenchDiaries d;
    return d;
}

// The seven tables as the main window holds them.
struct Program
{
    Table reg{schema::reg()}, akt{schema::akt()}, nrg{schema::nrg()}, ntb{schema::ntb()}, ftb{schema::ftb()},
        xtb{schema::xtb()}, zeb{schema::zeb()};
    QDate day = kBookingDay;
    int foodCategory = 1;
    int activityCategory = 2;

    // The day's food entries summed into the day record, as a booking ends.
    void bookDayTotals()
    {
        diary::EntrySums sums;
        for (ntb.first(); !ntb.eof(); ntb.next())
            sums.addFoodEntry(ntb);
        zeb.edit();
        zeb.postFields(diary::foodTotalFields(diary::totalsOf(sums)));
    }

    void open(const QString& dir)
    {
        nrg.setFilter([this](const RecordRef& r) { return r.fieldInt("NRGKAT") == foodCategory; });
        akt.setFilter([this](const RecordRef& r) { return r.fieldInt("AKTKAT") == activityCategory; });
        for (Table* t : {&ntb, &ftb, &zeb})
            t->setDayFilter([this] { return day; });
        // As the program opens them: the diaries and the daily summary
        // summed by day in the reading that checks them.
        for (Table* t : {&reg, &akt, &nrg, &ntb, &ftb, &xtb, &zeb}) {
            t->open(dir, t == &ntb   ? daysummary::foodEntryFields()
                         : t == &ftb ? daysummary::activityEntryFields()
                         : t == &zeb ? daysummary::dayTotalFields()
                                     : std::vector<const char*>{});
            if (t != &reg && t != &xtb)
                t->setFiltered(true);
        }
    }
};

void BM_OpenAllTables(benchmark::State& state)
{
    const QString dir = diaries().dir(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Program p;
        p.open(dir);
        benchmark::DoNotOptimize(p.zeb.recordCount());
    }
}

// One food booking as the program makes it: find the food in the day's
// view, sum into it or append it, post; then re-sum the day's entries into
// the day record and post that.
void BM_FoodBooking(benchmark::State& state)
{
    Program p;
    p.open(diaries().dir(static_cast<int>(state.range(0))));
    const QString names[] = {"Bench Apfel", "Bench Brot", "Bench Käse", "Bench Milch", "Bench Tee"};
    int i = 0;
    for (auto _ : state) {
        const QString name = names[i++ % 5];
        if (p.ntb.locate("NTBNAME", name, {true, false})) {
            // The values go round, so that any number of rounds fits the fields.
            p.ntb.edit();
            p.ntb.setFields({{"NTBMENGE", 100 + (i % 500) / 10.0}, {"NTBENERGIE", qint64(500 + i % 1000)}});
        } else {
            p.ntb.insert();
            p.ntb.setFields(booking::entryFields(p.day, {100.0, QStringLiteral("g"), name, 500, 5, 20, 3}));
        }
        p.ntb.post();
        p.bookDayTotals();
    }
}

// A booking that appends a new entry each time, as the first booking of a
// food on a day does: each round books on another day (the change of day
// is not timed).
void BM_FoodBookingNewEntry(benchmark::State& state)
{
    Program p;
    p.open(diaries().dir(static_cast<int>(state.range(0))));
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        p.day = kBookingDay.addDays(-(i++ % 1500));
        p.ntb.refresh();
        p.zeb.refresh();
        state.ResumeTiming();
        p.ntb.insert();
        p.ntb.setFields(booking::entryFields(
            p.day, {100.0, QStringLiteral("g"), QStringLiteral("Bench Neu %1").arg(i), 500, 5, 20, 3}));
        p.ntb.post();
        p.bookDayTotals();
    }
}

// Deleting a food entry as the program does it: find it by name in the
// day's view, delete it, re-sum the day into the day record. Each round
// books the entry first, so the day keeps its size.
void BM_FoodDeletion(benchmark::State& state)
{
    Program p;
    p.open(diaries().dir(static_cast<int>(state.range(0))));
    const QString name = QStringLiteral("Bench Löschbar");
    for (auto _ : state) {
        state.PauseTiming();
        p.ntb.insert();
        p.ntb.setFields(booking::entryFields(p.day, {50.0, QStringLiteral("g"), name, 100, 1, 2, 3}));
        p.ntb.post();
        state.ResumeTiming();
        if (p.ntb.locate("NTBNAME", name, {true, false}))
            p.ntb.deleteRecord();
        qint64 energy = 0;
        for (p.ntb.first(); !p.ntb.eof(); p.ntb.next())
            energy += p.ntb.fieldInt("NTBENERGIE");
        p.zeb.edit();
        p.zeb.setFields({{"ZEBENERGIE", std::min<qint64>(energy, 99999)}});
        p.zeb.post();
    }
}

// Switching the current day: the three day-filtered tables are refreshed and
// the day's weight is read.
void BM_SwitchDay(benchmark::State& state)
{
    Program p;
    p.open(diaries().dir(static_cast<int>(state.range(0))));
    int i = 0;
    for (auto _ : state) {
        p.day = kBookingDay.addDays(i++ % 400);
        p.ftb.refresh();
        p.ntb.refresh();
        p.zeb.refresh();
        benchmark::DoNotOptimize(p.zeb.fieldDouble("ZEBGEWICHT"));
    }
}

// The start-up's work on the tables since a crash can leave day totals
// behind: open them, check the day records and sum every day's entries
// anew, on the demo diary as it is (stale:0) and with one day's totals left
// stale (stale:1), which is then written. Against BM_OpenAllTables/demo:1.
void BM_StartUpTables(benchmark::State& state)
{
    static const StaleDayDiary diary(diaries().dir(1));
    int repaired = 0;
    for (auto _ : state) {
        state.PauseTiming();
        diary.use(state.range(0) != 0);
        state.ResumeTiming();
        Program p;
        p.open(diary.dir());
        p.zeb.setFiltered(false);
        const QString broken = daysummary::rangeOf(p.zeb.recordDays()).message();
        repaired = daysummary::repairTotals(p.ntb, p.ftb, p.zeb);
        p.zeb.setFiltered(true);
        benchmark::DoNotOptimize(broken);
    }
    state.counters["repaired"] = repaired;
}

BENCHMARK(BM_OpenAllTables)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodBooking)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodBookingNewEntry)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoodDeletion)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SwitchDay)->ArgName("demo")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartUpTables)->ArgName("stale")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Prints the medians and their demo/fresh ratios.
class RatioReporter : public DemoRatioReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        DemoRatioReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (counted(run) && run.run_name.function_name == "BM_StartUpTables")
                m_startUp[run.run_name.args] = run.GetAdjustedRealTime();
        }
    }

    void print() const
    {
        const auto before = m_demo.find("BM_OpenAllTables");
        if (before != m_demo.end()) {
            std::printf("\nstart-up tables on the demo diary (us):\n  opened as before %12.1f\n",
                        before->second);
            for (const auto& [args, time] : m_startUp)
                std::printf("  checked, %s %8.1f  (%+.1f)\n", args == "stale:0" ? "sound   " : "1 stale ",
                            time, time - before->second);
        }
        std::printf("\n%-20s %14s %14s %10s\n", "operation", "fresh (us)", "demo (us)", "demo/fresh");
        for (const auto& [name, fresh] : m_fresh) {
            const auto demo = m_demo.find(name);
            if (demo != m_demo.end())
                std::printf("%-20s %14.1f %14.1f %10.2f\n", name.c_str(), fresh, demo->second,
                            demo->second / fresh);
        }
    }

private:
    std::map<std::string, double> m_startUp;
};

// Peak resident memory of a new process that opens the diary, in MiB: the
// benchmark program started again with --memory-probe.
double peakMemoryOpening(const QString& dir)
{
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) <= 0)
        return -1;
    const std::string command = std::string(self) + " --memory-probe '" + dir.toStdString() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    double mib = -1;
    if (std::fscanf(pipe, "%lf", &mib) != 1)
        mib = -1;
    ::pclose(pipe);
    return mib;
}

int memoryProbe(const char* dir)
{
    Program p;
    p.open(QString::fromLocal8Bit(dir));
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%.1f\n", usage.ru_maxrss / 1024.0);
    return 0;
}

// Makes `count` bookings on the demo diary, each a new entry on a day of
// its own, and nothing else after the diary is laid out: the file calls of
// a booking are those of a run with a count less those of a run without,
// for instance with
//   strace -f -c -e trace=fdatasync,fsync build/bench/store_bench --bookings N
int bookingsOnly(int count)
{
    BenchDiaries fresh;
    Program p;
    p.open(fresh.dir(1));
    for (int i = 0; i < count; ++i) {
        p.day = kBookingDay.addDays(-i);
        p.ntb.refresh();
        p.zeb.refresh();
        p.ntb.insert();
        p.ntb.setFields(booking::entryFields(
            p.day, {100.0, QStringLiteral("g"), QStringLiteral("Bench Neu"), 500, 5, 20, 3}));
        p.ntb.post();
        p.bookDayTotals();
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--memory-probe")
        return memoryProbe(argv[2]);
    if (argc == 3 && std::string(argv[1]) == "--bookings")
        return bookingsOnly(std::atoi(argv[2]));
    benchmark::Initialize(&argc, argv);
    diaries();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.print();
    std::printf("\npeak memory of a process holding the diary open: fresh %.1f MiB, demo %.1f MiB\n",
                peakMemoryOpening(diaries().dir(0)), peakMemoryOpening(diaries().dir(1)));
    benchmark::Shutdown();
    return 0;
}
