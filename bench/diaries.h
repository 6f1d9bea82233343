#pragma once

#include "install/installer.h"
#include "store/table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The two diaries every benchmark compares: a fresh one (0) and the
// eleven-year demo diary (1), laid out once per run.
class BenchDiaries
{
public:
    BenchDiaries()
    {
        install::layOutDiary(m_fresh.path(), install::Content::Fresh);
        install::layOutDiary(m_demo.path(), install::Content::Demo);
    }
    QString dir(int which) const { return which == 0 ? m_fresh.path() : m_demo.path(); }

private:
    QTemporaryDir m_fresh;
    QTemporaryDir m_demo;
};

// A copy of the demo diary `from` for timing the start-up's check of the day
// totals: its daily summary as it is (sound) or with the food total of
// 2008-06-17 raised by 1030 kJ, as a crash between an entry and its totals
// can leave it (stale). use() writes either over the copy's summary.
class StaleDayDiary
{
public:
    explicit StaleDayDiary(const QString& from)
    {
        const QDir demo(from);
        for (const QString& name : demo.entryList(QDir::Files))
            QFile::copy(demo.filePath(name), QDir(m_copy.path()).filePath(name));
        m_sound = summary();
        store::Table zeb(store::schema::zeb());
        zeb.open(m_copy.path());
        zeb.locate("ZEBDATUM", QDate(2008, 6, 17));
        zeb.edit();
        zeb.postFields({{"ZEBENERGIE", qint64(zeb.fieldInt("ZEBENERGIE") + 1030)}});
        zeb.close();
        m_stale = summary();
    }
    QString dir() const { return m_copy.path(); }
    void use(bool stale) const
    {
        QFile file(QDir(m_copy.path()).filePath("ZEB_ZEB.dbf"));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(stale ? m_stale : m_sound);
    }

private:
    QByteArray summary() const
    {
        QFile file(QDir(m_copy.path()).filePath("ZEB_ZEB.dbf"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QTemporaryDir m_copy;
    QByteArray m_sound;
    QByteArray m_stale;
};

// Shows the runs as the console does and keeps the median of each
// benchmark (or its single run), in the benchmark's time unit, by diary:
// fresh (argument demo:0) and demo (demo:1), for the ratios printed at the end.
class DemoRatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!counted(run))
                continue;
            const bool demo = run.run_name.args.find("demo:1") != std::string::npos;
            (demo ? m_demo : m_fresh)[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }

protected:
    // A median, or a single run when there are no repetitions.
    static bool counted(const Run& run)
    {
        if (run.error_occurred)
            return false;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        return median || single;
    }

    std::map<std::string, double> m_fresh, m_demo;
};
