#pragma once

#include <string>

// The single-instance guard: a lock that the operating system releases when
// the process ends, however it ends. One copy of the program runs per user:
// the lock's name is "ZEB2004" followed by a dot and the user's id.
//
// The lock is an flock on the file of that name (with ".lock" appended) in
// the user's runtime folder $XDG_RUNTIME_DIR, which only the user can write:
// no other user can take it first. The folder is used only when it is a
// folder of the user's own with no rights for anyone else (mode 0700);
// otherwise, and where there is none, the lock is a socket name in the
// abstract namespace, which writes no file but which any local user could
// take first.
//
// Besides, a copy holds a lock on its diary: a record lock (of the open
// file) on the settings table opened for writing, on the byte just past
// those that the table layer locks for its writes. So only who may write
// the diary can hold it, and a second copy on the same diary is stopped
// whoever runs it and whatever its runtime folder.
//
// Tests and scripts that start the program beside a copy the user may have
// open give it a guard of their own through the environment variable
// KELVARA_GUARD_NAME, whose value then stands in place of "ZEB2004"
// (an empty value counts as none). Nothing else reads that variable.
class NichtDoppeltStarten
{
public:
    // The lock of the user and, with `diaryDir`, of the diary in it.
    explicit NichtDoppeltStarten(const std::string& diaryDir = {});
    ~NichtDoppeltStarten();
    NichtDoppeltStarten(const NichtDoppeltStarten&) = delete;
    NichtDoppeltStarten& operator=(const NichtDoppeltStarten&) = delete;

    // False when another process holds a lock, or something else stands
    // at the lock file's path (see problem).
    bool acquired() const { return m_fd >= 0; }
    // Where the lock is, or the one held by another copy: the lock file's
    // path, the diary's settings table, or the socket name preceded by "@"
    // (as ss and lsof write abstract names).
    const std::string& place() const { return m_place; }
    // What stands at the lock file's path instead of a lock file of this
    // user, in German ("ist ein symbolischer Verweis"); empty when the lock
    // was taken or another copy holds it.
    const std::string& problem() const { return m_problem; }

    // The lock's name for this process's user and environment.
    static std::string name();
    // The lock file's path in the user's runtime folder; empty when there is
    // no runtime folder of the user's own.
    static std::string lockFilePath();

private:
    void lockDiary(const std::string& dir);

    int m_fd = -1;
    int m_diaryFd = -1;
    std::string m_place;
    std::string m_problem;
};
