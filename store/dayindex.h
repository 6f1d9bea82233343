#pragma once

#include <QtGlobal>

#include <utility>
#include <vector>

namespace store {

// The records of each day of a table's day field, as runs of consecutive
// records of one day sorted by day (and by record within a day). A table
// written in date order, as the diary's tables are, has one run a day, so
// the index is one small sorted array and needs no hash map; a table in
// any other order only has more runs. Days are YYYYMMDD; records without
// a day are not indexed.
class DayIndex
{
public:
    void clear();
    void reserve(size_t runs) { m_runs.reserve(runs); }

    // Adds record `recno` of `day`. Adding in ascending record order, as a
    // table is read, extends the last run when the record continues it.
    void add(quint32 recno, int day);
    // Adds many records at once, in any order: sorted together and merged
    // with the runs there are, so that a table read in any order is indexed
    // in n log n.
    void addAll(std::vector<std::pair<int, quint32>> dayRecords);
    // Takes out record `recno` of `day` (its day changes).
    void remove(quint32 recno, int day);

    // The records of the days `first` ... `last`, ascending by day and by
    // record within a day.
    std::vector<quint32> records(int first, int last) const;
    std::vector<quint32> records(int day) const { return records(day, day); }
    // Runs of consecutive records: one a day for a table in date order.
    size_t runCount() const { return m_runs.size(); }

private:
    struct Run
    {
        int day;
        quint32 first;
        quint32 end; // one past the last record
    };
    // The first run not before (day, recno).
    std::vector<Run>::iterator lowerBound(int day, quint32 recno);
    // Joins run i with the next when that continues it.
    void joinNext(size_t i);

    std::vector<Run> m_runs;
    // The run that the last added record ended, which the next record in
    // file order continues; m_runs.size() when there is none.
    size_t m_open = 0;
};

} // namespace store
