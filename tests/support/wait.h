#pragma once

#include <QDeadlineTimer>
#include <QThread>

namespace testing_support {

// Waits up to `ms` for `condition`, asking it every 20 ms; true once it
// holds. For states of other processes, which send no events.
template <class Condition> bool within(int ms, Condition condition)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

} // namespace testing_support
