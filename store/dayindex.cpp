#include "store/dayindex.h"

#include <algorithm>

namespace store {

void DayIndex::clear()
{
    m_runs.clear();
    m_open = 0;
}

std::vector<DayIndex::Run>::iterator DayIndex::lowerBound(int day, quint32 recno)
{
    return std::lower_bound(
        m_runs.begin(), m_runs.end(), std::pair(day, recno), [](const Run& run, const auto& key) {
            return run.day < key.first || (run.day == key.first && run.first < key.second);
        });
}

void DayIndex::add(quint32 recno, int day)
{
    // Records read in file order mostly continue the run of the record
    // before them.
    if (m_open < m_runs.size() && m_runs[m_open].day == day && m_runs[m_open].end == recno) {
        ++m_runs[m_open].end;
        joinNext(m_open);
        return;
    }
    if (m_runs.empty() || m_runs.back().day < day) {
        m_runs.push_back({day, recno, recno + 1});
        m_open = m_runs.size() - 1;
        return;
    }
    // Any other record comes into its sorted place, joining the runs of its
    // day that it touches.
    const auto at = lowerBound(day, recno);
    if (at != m_runs.begin()) {
        Run& before = *(at - 1);
        if (before.day == day && recno < before.end)
            return; // indexed already
        if (before.day == day && before.end == recno) {
            ++before.end;
            m_open = static_cast<size_t>(at - 1 - m_runs.begin());
            joinNext(m_open);
            return;
        }
    }
    if (at != m_runs.end() && at->day == day && at->first <= recno + 1) {
        at->first = std::min(at->first, recno);
        m_open = m_runs.size();
        return;
    }
    m_open = static_cast<size_t>(m_runs.insert(at, Run{day, recno, recno + 1}) - m_runs.begin());
}

void DayIndex::addAll(std::vector<std::pair<int, quint32>> dayRecords)
{
    if (dayRecords.empty())
        return;
    std::sort(dayRecords.begin(), dayRecords.end());
    std::vector<Run> merged;
    merged.reserve(m_runs.size() + dayRecords.size());
    const auto append = [&merged](const Run& run) {
        if (!merged.empty() && merged.back().day == run.day && merged.back().end >= run.first)
            merged.back().end = std::max(merged.back().end, run.end);
        else
            merged.push_back(run);
    };
    auto run = m_runs.begin();
    for (const auto& [day, recno] : dayRecords) {
        for (; run != m_runs.end() && (run->day < day || (run->day == day && run->first < recno)); ++run)
            append(*run);
        append({day, recno, recno + 1});
    }
    for (; run != m_runs.end(); ++run)
        append(*run);
    m_runs = std::move(merged);
    m_open = m_runs.size();
}

void DayIndex::joinNext(size_t i)
{
    if (i + 1 < m_runs.size() && m_runs[i + 1].day == m_runs[i].day && m_runs[i + 1].first <= m_runs[i].end) {
        m_runs[i].end = std::max(m_runs[i].end, m_runs[i + 1].end);
        m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
}

void DayIndex::remove(quint32 recno, int day)
{
    auto at = lowerBound(day, recno + 1);
    if (at == m_runs.begin())
        return;
    --at;
    if (at->day != day || recno < at->first || recno >= at->end)
        return;
    if (at->end - at->first == 1) {
        m_runs.erase(at);
    } else if (recno == at->first) {
        ++at->first;
    } else if (recno + 1 == at->end) {
        --at->end;
    } else {
        const Run after{day, recno + 1, at->end};
        at->end = recno;
        m_runs.insert(at + 1, after);
    }
    m_open = m_runs.size();
}

std::vector<quint32> DayIndex::records(int first, int last) const
{
    std::vector<quint32> list;
    auto at = std::lower_bound(m_runs.begin(), m_runs.end(), first,
                               [](const Run& run, int d) { return run.day < d; });
    for (; at != m_runs.end() && at->day <= last; ++at) {
        for (quint32 r = at->first; r < at->end; ++r)
            list.push_back(r);
    }
    return list;
}

} // namespace store
