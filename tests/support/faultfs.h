#pragma once

#include "store/fileio.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// A file system that behaves like the real one until its n-th call, and
// then fails that call or stops as a crash or power cut would.
//
// Written data is held back until the file is synced, as a disk cache would
// hold it; a crash decides what of the held-back data reaches the disk.
// The folder is modelled too: files created, renamed and removed since the
// folder's last sync are changes that a power cut may lose, all of them or
// any part (setKeptDirectoryChanges). A file that was created and synced
// but whose folder was not is then gone.
class FaultFileSystem : public store::FileSystem
{
public:
    enum class Mode {
        Count,       // never fails; counts the calls
        Fail,        // the n-th call throws and does nothing; later calls work
        CrashDrop,   // from the n-th call on everything fails; unsynced data and folder changes are lost
        CrashKeep,   // as CrashDrop, but everything reached the disk (a killed process)
        CrashTorn,   // as CrashDrop, but half of an unsynced append reached the disk
        CrashLate,   // as CrashDrop, but the last unsynced write overtook the others to the disk
        FailRenames, // from the n-th call on every rename fails (the error of setFailError, else EIO),
                     // but that of the list of renames, which decides a replacement
    };

    explicit FaultFileSystem(Mode mode = Mode::Count, int at = 0) : m_mode(mode), m_at(at) {}
    ~FaultFileSystem() override;

    int calls() const { return m_calls; }
    // Each call so far as "what name", for instance "rename ZEB_NTB.DBF";
    // call n is entry n - 1.
    const QStringList& log() const { return m_log; }
    // File and folder syncs so far.
    int syncs() const { return m_syncs; }
    // In Fail mode, the failing call throws what the real file layer throws
    // for this system error (ENOSPC: a full disk) instead of a plain text.
    void setFailError(int err) { m_failError = err; }
    bool crashed() const { return m_crashed; }
    // From now on nothing fails any more.
    void stopFaults() { m_mode = Mode::Count; }

    // Which of the folder changes pending at a power cut reach the disk:
    // bit i for the i-th change since the folder's last sync (none unless
    // set). The number of changes pending at the crash is known afterwards.
    void setKeptDirectoryChanges(quint64 kept) { m_kept = kept; }
    int directoryChangesAtCrash() const { return m_changesAtCrash; }

    std::unique_ptr<store::File> open(const QString& path, bool exclusive) override;
    std::unique_ptr<store::File> openToRead(const QString& path) override;
    std::unique_ptr<store::File> create(const QString& path) override;
    void rename(const QString& from, const QString& to) override;
    void moveAside(const QString& from, const QString& to) override;
    void makeFolder(const QString& dir) override;
    void remove(const QString& path) override;
    void syncDirectory(const QString& dir) override;
    store::FileStatus status(const QString& path) override;
    QStringList list(const QString& dir) override;

    // Called by every operation on `path`; throws when this call is the one
    // to fail.
    void step(const char* what, const QString& path = {});

private:
    friend class FaultFile;
    void move(const QString& from, const QString& to, bool aside);
    void crash();
    void dropDirectoryChanges();

    // A file of the folder model: where it stands now, or its content when
    // no name holds it any more.
    struct Node
    {
        QString path;
        bool unlinked = false;
        QByteArray saved;
    };
    struct Change
    {
        enum Kind { Create, Rename, Remove } kind;
        QString from;
        QString to;
        int node;
    };
    // The names of a folder touched since its last sync: the node each held
    // at that sync and holds now (-1: none), and the changes in order.
    struct Folder
    {
        std::map<QString, int> synced;
        std::map<QString, int> now;
        std::vector<Change> changes;
    };
    Folder& folderOf(const QString& path);
    int touch(Folder& folder, const QString& path);
    int newNode(const QString& path);
    // A node that no name holds any more keeps `content`.
    void unlinkNode(int node, const QByteArray& content);

    Mode m_mode;
    int m_at;
    int m_calls = 0;
    QStringList m_log;
    int m_syncs = 0;
    int m_failError = 0;
    bool m_crashed = false;
    quint64 m_kept = 0;
    int m_changesAtCrash = 0;
    std::vector<class FaultFile*> m_files;
    std::vector<Node> m_nodes;
    std::map<QString, Folder> m_folders;
};

// Every mode in which a call fails or a crash stops the program, for
// parameterised tests: ::testing::ValuesIn(faultModes()), faultModeName.
const std::vector<FaultFileSystem::Mode>& faultModes();
std::string faultModeName(const ::testing::TestParamInfo<FaultFileSystem::Mode>& info);

// Whether a crash in `mode` loses folder changes that were not synced.
bool losesFolderChanges(FaultFileSystem::Mode mode);

// The sets of `n` pending folder changes a crash test lets reach the disk,
// as bit masks: every subset when there are few, otherwise each change
// alone, all but each one, and each run from the first.
std::vector<quint64> keptChangeSets(int n);

// Runs `run` on a file system that fails or crashes at its call `at`.
// `run` calls the function it is given each time one of its steps has
// returned; the result is the number of those calls less one, so that it
// indexes the state after the last returned step (-1: none returned). The
// store error of the fault ends the run.
int stepsBeforeFault(FaultFileSystem::Mode mode, int at,
                     const std::function<void(store::FileSystem&, const std::function<void()>& returned)>& run);

} // namespace testing_support
