#pragma once

#include <string>

// The single-instance guard: a named lock that the operating system releases
// when the process ends, however it ends. One copy of the program runs per
// user: the name is "ZEB2004" followed by a dot and the user's id. It writes
// no file: the lock is a socket name in the abstract namespace.
//
// Tests and scripts that start the program beside a copy the user may have
// open give it a guard of their own through the environment variable
// KELVARA_GUARD_NAME, whose value then stands in place of "ZEB2004"
// (an empty value counts as none). Nothing else reads that variable.
class NichtDoppeltStarten
{
public:
    NichtDoppeltStarten();
    ~NichtDoppeltStarten();
    NichtDoppeltStarten(const NichtDoppeltStarten&) = delete;
    NichtDoppeltStarten& operator=(const NichtDoppeltStarten&) = delete;

    // False when another process holds the lock.
    bool acquired() const { return m_fd >= 0; }

    // The lock's name for this process's user and environment.
    static std::string name();

private:
    int m_fd = -1;
};
