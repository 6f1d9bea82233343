#pragma once

#include "store/fileio.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A file system that behaves like the real one until its n-th call, and
// then fails that call or stops as a crash or power cut would.
//
// Written data is held back until the file is synced, as a disk cache would
// hold it; a crash decides what of the held-back data reaches the disk.
class FaultFileSystem : public store::FileSystem
{
public:
    enum class Mode {
        Count,      // never fails; counts the calls
        Fail,       // the n-th call throws and does nothing; later calls work
        CrashDrop,  // from the n-th call on everything fails; unsynced data is lost
        CrashKeep,  // as CrashDrop, but unsynced data reached the disk (a killed process)
        CrashTorn,  // as CrashDrop, but half of an unsynced append reached the disk
        CrashLate,  // as CrashDrop, but the last unsynced write overtook the others to the disk
    };

    explicit FaultFileSystem(Mode mode = Mode::Count, int at = 0) : m_mode(mode), m_at(at) {}
    ~FaultFileSystem() override;

    int calls() const { return m_calls; }
    // In Fail mode, the failing call throws what the real file layer throws
    // for this system error (ENOSPC: a full disk) instead of a plain text.
    void setFailError(int err) { m_failError = err; }
    bool crashed() const { return m_crashed; }

    std::unique_ptr<store::File> open(const QString& path, bool exclusive) override;
    std::unique_ptr<store::File> create(const QString& path, bool replace) override;
    void rename(const QString& from, const QString& to) override;
    void remove(const QString& path) override;
    void syncDirectory(const QString& dir) override;

    // Called by every operation on `path`; throws when this call is the one
    // to fail.
    void step(const char* what, const QString& path = {});

private:
    friend class FaultFile;
    void crash();

    Mode m_mode;
    int m_at;
    int m_calls = 0;
    int m_failError = 0;
    bool m_crashed = false;
    std::vector<class FaultFile*> m_files;
};

// Every mode in which a call fails or a crash stops the program, for
// parameterised tests: ::testing::ValuesIn(faultModes()), faultModeName.
const std::vector<FaultFileSystem::Mode>& faultModes();
std::string faultModeName(const ::testing::TestParamInfo<FaultFileSystem::Mode>& info);

// Runs `run` on a file system that fails or crashes at its call `at`.
// `run` calls the function it is given each time one of its steps has
// returned; the result is the number of those calls less one, so that it
// indexes the state after the last returned step (-1: none returned). The
// store error of the fault ends the run.
int stepsBeforeFault(FaultFileSystem::Mode mode, int at,
                     const std::function<void(store::FileSystem&, const std::function<void()>& returned)>& run);

} // namespace testing_support
