#include "child.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

ReportingChild::ReportingChild(const std::function<void(ReportingChild&)>& work)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(fds[0]);
        m_write = fds[1];
        try {
            work(*this);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    m_read = fds[0];
    if (m_pid < 0) {
        ::close(m_read);
        m_read = -1;
    }
}

ReportingChild::~ReportingChild()
{
    if (m_pid > 0 && m_read >= 0)
        kill();
}

void ReportingChild::report(qint64 n)
{
    if (::write(m_write, &n, sizeof n) != sizeof n)
        ::_exit(3);
}

// A text goes as its length, negated, and its bytes.
void ReportingChild::reportText(const QByteArray& text)
{
    const qint64 length = -qint64(text.size()) - 1;
    if (::write(m_write, &length, sizeof length) != sizeof length ||
        ::write(m_write, text.constData(), text.size()) != text.size())
        ::_exit(3);
}

bool ReportingChild::readOne()
{
    qint64 value = 0;
    if (m_read < 0 || ::read(m_read, &value, sizeof value) != sizeof value)
        return false;
    if (value >= 0) {
        m_last = value;
        return true;
    }
    QByteArray text(-value - 1, Qt::Uninitialized);
    for (qint64 done = 0; done < text.size();) {
        const ssize_t n = ::read(m_read, text.data() + done, text.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    m_text = text;
    return true;
}

qint64 ReportingChild::readUntil(qint64 n)
{
    while (m_last < n && readOne()) {
    }
    return m_last;
}

qint64 ReportingChild::kill()
{
    if (m_pid <= 0 || m_read < 0)
        return m_last;
    ::kill(m_pid, SIGKILL);
    ::waitpid(m_pid, &m_status, 0);
    while (readOne()) {
    }
    ::close(m_read);
    m_read = -1;
    return m_last;
}

qint64 ReportingChild::wait()
{
    if (m_pid <= 0 || m_read < 0)
        return m_last;
    while (readOne()) {
    }
    ::waitpid(m_pid, &m_status, 0);
    ::close(m_read);
    m_read = -1;
    return m_last;
}

bool ReportingChild::killed() const
{
    return WIFSIGNALED(m_status);
}

bool ReportingChild::failed() const
{
    return WIFEXITED(m_status) && WEXITSTATUS(m_status) != 0;
}

} // namespace testing_support
