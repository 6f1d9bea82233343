#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <functional>
#include <sys/types.h>

namespace testing_support {

// A forked child process that does `work` and tells the test its progress
// as numbers through a pipe, to be killed at a chosen instant. The child
// ends with status 0 when `work` returns, 2 when it throws, and 3 when it
// cannot report.
class ReportingChild
{
public:
    explicit ReportingChild(const std::function<void(ReportingChild&)>& work);
    ~ReportingChild();
    ReportingChild(const ReportingChild&) = delete;
    ReportingChild& operator=(const ReportingChild&) = delete;

    // In the child: tells the test `n` (not negative).
    void report(qint64 n);
    // In the child: tells the test a text, which the test reads with text().
    void reportText(const QByteArray& text);

    // Reads reports until one is at least `n` or the child has ended;
    // returns the last report read (0: none yet).
    qint64 readUntil(qint64 n);
    // Kills the child with SIGKILL, waits for it and reads the reports it
    // made before; returns the last report read.
    qint64 kill();

    bool started() const { return m_pid > 0; }
    // The last text the child told, as read so far.
    const QByteArray& text() const { return m_text; }
    // Reads reports until the child has ended and waits for it; returns the
    // last number read.
    qint64 wait();
    // After kill(): whether the signal ended it, and whether it ended on
    // its own with a failure.
    bool killed() const;
    bool failed() const;

private:
    bool readOne();

    pid_t m_pid = -1;
    int m_read = -1;
    int m_write = -1;
    int m_status = 0;
    qint64 m_last = 0;
    QByteArray m_text;
};

} // namespace testing_support
