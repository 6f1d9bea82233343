#pragma once

// The single-instance guard: a system-wide named lock "ZEB2004" that the
// operating system releases when the process ends, however it ends. It
// writes no file: the lock is a socket name in the abstract namespace.
// The environment variable KELVARA_GUARD_NAME, when set and not empty,
// names the lock instead (tests that start the real program use it).
class NichtDoppeltStarten
{
public:
    NichtDoppeltStarten();
    ~NichtDoppeltStarten();
    NichtDoppeltStarten(const NichtDoppeltStarten&) = delete;
    NichtDoppeltStarten& operator=(const NichtDoppeltStarten&) = delete;

    // False when another process holds the lock.
    bool acquired() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
