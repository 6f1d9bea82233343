#pragma once

#include "install/installer.h"

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
