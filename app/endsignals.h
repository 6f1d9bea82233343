#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGHUP (a logout, `kill`, a closed terminal) delivered as the
// signal `received` in the event loop, where the program can end as a
// user's close does. A second signal of the same kind ends the process at
// once, as it would without this object. One object at a time.
class EndSignals : public QObject
{
    Q_OBJECT
public:
    EndSignals();
    ~EndSignals() override;

signals:
    void received(int signal);

private:
    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
