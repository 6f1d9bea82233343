#include "faultfs.h"

#include "store/error.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>

namespace testing_support {

namespace {

QString cleanPath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

store::FileSystem& real()
{
    return store::posixFileSystem();
}

QByteArray readReal(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FaultFile : public store::File
{
public:
    FaultFile(FaultFileSystem& fs, std::unique_ptr<store::File> real, QString path)
        : m_fs(fs), m_real(std::move(real)), m_path(std::move(path))
    {
        m_fs.m_files.push_back(this);
    }
    ~FaultFile() override
    {
        // A file closed without a crash keeps what was written to it.
        if (!m_fs.m_crashed) {
            try {
                apply(m_pending.size());
            } catch (const store::StoreError&) {
            }
        }
        std::erase(m_fs.m_files, this);
    }

    const QString& path() const { return m_path; }

    qint64 size() override { return image().size(); }

    store::FileStatus status() override
    {
        store::FileStatus status = m_real->status();
        status.size = image().size();
        return status;
    }

    void adoptOwnerAndMode(const store::FileStatus& of) override
    {
        m_fs.step("chmod", m_path);
        m_real->adoptOwnerAndMode(of);
    }

    void lockForWriting() override { m_real->lockForWriting(); }
    void unlock() override { m_real->unlock(); }

    QByteArray readAll() override { return image(); }

    qint64 readAt(qint64 offset, char* data, qint64 length) override
    {
        const QByteArray bytes = image();
        const qint64 n = std::clamp<qint64>(bytes.size() - offset, 0, length);
        std::copy_n(bytes.constData() + offset, n, data);
        return n;
    }

    void writeAt(qint64 offset, const char* data, qint64 length) override
    {
        m_fs.step("write", m_path);
        m_pending.push_back({offset, QByteArray(data, length), false});
    }

    void truncate(qint64 length) override
    {
        m_fs.step("truncate", m_path);
        m_pending.push_back({length, {}, true});
    }

    void sync() override
    {
        m_fs.step("sync", m_path);
        ++m_fs.m_syncs;
        // What reaches the disk is decided here; the disk's own sync would
        // only cost time.
        apply(m_pending.size());
    }

    // What a crash leaves of the held-back data.
    void crash(FaultFileSystem::Mode mode)
    {
        if (mode == FaultFileSystem::Mode::CrashKeep) {
            apply(m_pending.size());
        } else if (mode == FaultFileSystem::Mode::CrashTorn && !m_pending.empty()) {
            // An append cut short: the first half of the last write that
            // grows the file reaches the disk, the rest of the unsynced data
            // is lost.
            Pending last = m_pending.back();
            m_pending.clear();
            if (!last.truncate && last.offset + last.data.size() > m_real->size()) {
                last.data.truncate(last.data.size() / 2);
                m_pending.push_back(last);
                apply(1);
            }
        }
        if (mode == FaultFileSystem::Mode::CrashLate && !m_pending.empty()) {
            m_pending.erase(m_pending.begin(), m_pending.end() - 1);
            apply(1);
        }
        m_pending.clear();
    }

private:
    struct Pending
    {
        qint64 offset;
        QByteArray data;
        bool truncate;
    };

    QByteArray image()
    {
        QByteArray bytes = m_real->readAll();
        for (const Pending& p : m_pending) {
            if (p.truncate) {
                bytes.resize(p.offset);
                continue;
            }
            if (bytes.size() < p.offset + p.data.size())
                bytes.resize(p.offset + p.data.size(), '\0');
            std::copy(p.data.begin(), p.data.end(), bytes.begin() + p.offset);
        }
        return bytes;
    }

    void apply(size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            const Pending& p = m_pending[i];
            if (p.truncate)
                m_real->truncate(p.offset);
            else
                m_real->writeAt(p.offset, p.data.constData(), p.data.size());
        }
        m_pending.erase(m_pending.begin(), m_pending.begin() + n);
    }

    FaultFileSystem& m_fs;
    std::unique_ptr<store::File> m_real;
    QString m_path;
    std::vector<Pending> m_pending;
};

FaultFileSystem::~FaultFileSystem() = default;

void FaultFileSystem::step(const char* what, const QString& path)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (%1)").arg(QLatin1String(what)));
    ++m_calls;
    m_log << QStringLiteral("%1 %2").arg(QLatin1String(what), QFileInfo(path).fileName());
    if (m_mode == Mode::Count || m_mode == Mode::FailRenames || m_calls != m_at)
        return;
    if (m_mode == Mode::Fail && m_failError != 0)
        store::throwFileError(path, QStringLiteral("Schreibfehler"), m_failError);
    if (m_mode == Mode::Fail)
        throw store::StoreError(QStringLiteral("eingespielter Fehler (%1)").arg(QLatin1String(what)));
    crash();
    throw store::StoreError(QStringLiteral("abgestürzt (%1)").arg(QLatin1String(what)));
}

void FaultFileSystem::crash()
{
    m_crashed = true;
    for (FaultFile* file : m_files)
        file->crash(m_mode);
    if (losesFolderChanges(m_mode))
        dropDirectoryChanges();
}

// ---------------------------------------------------------------- folders

FaultFileSystem::Folder& FaultFileSystem::folderOf(const QString& path)
{
    return m_folders[QFileInfo(path).absolutePath()];
}

int FaultFileSystem::newNode(const QString& path)
{
    m_nodes.push_back({path, false, {}});
    return static_cast<int>(m_nodes.size()) - 1;
}

int FaultFileSystem::touch(Folder& folder, const QString& path)
{
    const auto it = folder.now.find(path);
    if (it != folder.now.end())
        return it->second;
    const int node = real().status(path).type == store::EntryType::Missing ? -1 : newNode(path);
    folder.synced[path] = node;
    folder.now[path] = node;
    return node;
}

void FaultFileSystem::unlinkNode(int node, const QByteArray& content)
{
    if (node < 0)
        return;
    m_nodes[node].saved = content;
    m_nodes[node].unlinked = true;
}

void FaultFileSystem::dropDirectoryChanges()
{
    m_changesAtCrash = 0;
    for (auto& [dir, folder] : m_folders) {
        // The content of every file the folder's names held, as the data
        // crash left it.
        std::map<int, QByteArray> content;
        const auto collect = [&](int node) {
            if (node >= 0 && !content.count(node))
                content[node] = m_nodes[node].unlinked ? m_nodes[node].saved : readReal(m_nodes[node].path);
        };
        for (const auto& [name, node] : folder.synced)
            collect(node);
        for (const auto& [name, node] : folder.now)
            collect(node);
        for (const Change& c : folder.changes)
            collect(c.node);

        // The folder as its last sync left it, with the kept changes.
        std::map<QString, int> names = folder.synced;
        for (const Change& c : folder.changes) {
            const bool kept = m_changesAtCrash < 64 && (m_kept >> m_changesAtCrash & 1);
            ++m_changesAtCrash;
            if (!kept)
                continue;
            switch (c.kind) {
            case Change::Create:
                names[c.to] = c.node;
                break;
            case Change::Rename:
                if (names[c.from] >= 0) {
                    names[c.to] = names[c.from];
                    names[c.from] = -1;
                }
                break;
            case Change::Remove:
                names[c.from] = -1;
                break;
            }
        }
        for (const auto& [name, node] : names) {
            if (node == folder.now[name])
                continue;
            if (node < 0) {
                QFile::remove(name);
                continue;
            }
            QFile file(name);
            QFile::remove(name);
            if (file.open(QIODevice::WriteOnly))
                file.write(content[node]);
        }
        folder.synced.clear();
        folder.now.clear();
        folder.changes.clear();
    }
}

// ---------------------------------------------------------------- calls

std::unique_ptr<store::File> FaultFileSystem::open(const QString& path, bool exclusive)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (open)"));
    return std::make_unique<FaultFile>(*this, real().open(path, exclusive), path);
}

std::unique_ptr<store::File> FaultFileSystem::openToRead(const QString& path)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (open)"));
    return std::make_unique<FaultFile>(*this, real().openToRead(path), path);
}

std::unique_ptr<store::File> FaultFileSystem::create(const QString& path)
{
    step("create", path);
    const QString name = cleanPath(path);
    Folder& folder = folderOf(name);
    const bool isNew = touch(folder, name) < 0;
    auto file = std::make_unique<FaultFile>(*this, real().create(path), path);
    if (isNew) {
        const int node = newNode(name);
        folder.now[name] = node;
        folder.changes.push_back({Change::Create, name, name, node});
    }
    return file;
}

void FaultFileSystem::rename(const QString& from, const QString& to)
{
    step("rename", to);
    if (m_mode == Mode::FailRenames && m_calls >= m_at && QFileInfo(to).fileName() != u"ZEB_NEU.LST")
        store::throwFileError(to, QStringLiteral("Datei konnte nicht ersetzt werden"),
                              m_failError != 0 ? m_failError : EIO);
    move(from, to, false);
}

void FaultFileSystem::moveAside(const QString& from, const QString& to)
{
    step("rename", to);
    move(from, to, true);
}

void FaultFileSystem::makeFolder(const QString& dir)
{
    step("mkdir", dir);
    real().makeFolder(dir);
}

void FaultFileSystem::move(const QString& from, const QString& to, bool aside)
{
    const QString source = cleanPath(from), target = cleanPath(to);
    Folder& folder = folderOf(target);
    const int moved = touch(folder, source);
    const int replaced = touch(folder, target);
    const QByteArray content = replaced >= 0 ? readReal(target) : QByteArray();
    if (aside)
        real().moveAside(from, to);
    else
        real().rename(from, to);
    unlinkNode(replaced, content);
    if (moved >= 0)
        m_nodes[moved].path = target;
    folder.now[target] = moved;
    folder.now[source] = -1;
    folder.changes.push_back({Change::Rename, source, target, moved});
}

void FaultFileSystem::remove(const QString& path)
{
    step("remove", path);
    const QString name = cleanPath(path);
    Folder& folder = folderOf(name);
    const int node = touch(folder, name);
    const QByteArray content = node >= 0 ? readReal(name) : QByteArray();
    real().remove(path);
    unlinkNode(node, content);
    if (node >= 0) {
        folder.now[name] = -1;
        folder.changes.push_back({Change::Remove, name, name, node});
    }
}

void FaultFileSystem::syncDirectory(const QString& dir)
{
    step("syncdir", dir);
    ++m_syncs;
    m_folders.erase(cleanPath(dir));
}

store::FileStatus FaultFileSystem::status(const QString& path)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (status)"));
    store::FileStatus status = real().status(path);
    // Data held back is part of the file for this program.
    for (FaultFile* file : m_files) {
        if (file->path() == path && status.type == store::EntryType::Regular) {
            const store::FileStatus open = file->status();
            if (open.device == status.device && open.inode == status.inode)
                status.size = open.size;
        }
    }
    return status;
}

QStringList FaultFileSystem::list(const QString& dir)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (list)"));
    return real().list(dir);
}

// ---------------------------------------------------------------- helpers

const std::vector<FaultFileSystem::Mode>& faultModes()
{
    static const std::vector<FaultFileSystem::Mode> modes = {
        FaultFileSystem::Mode::Fail,      FaultFileSystem::Mode::CrashDrop, FaultFileSystem::Mode::CrashKeep,
        FaultFileSystem::Mode::CrashTorn, FaultFileSystem::Mode::CrashLate,
    };
    return modes;
}

std::string faultModeName(const ::testing::TestParamInfo<FaultFileSystem::Mode>& info)
{
    switch (info.param) {
    case FaultFileSystem::Mode::Count:
        return "Count";
    case FaultFileSystem::Mode::Fail:
        return "Fail";
    case FaultFileSystem::Mode::CrashDrop:
        return "CrashDrop";
    case FaultFileSystem::Mode::CrashKeep:
        return "CrashKeep";
    case FaultFileSystem::Mode::CrashTorn:
        return "CrashTorn";
    case FaultFileSystem::Mode::CrashLate:
        return "CrashLate";
    case FaultFileSystem::Mode::FailRenames:
        return "FailRenames";
    }
    return "Unknown";
}

bool losesFolderChanges(FaultFileSystem::Mode mode)
{
    return mode == FaultFileSystem::Mode::CrashDrop || mode == FaultFileSystem::Mode::CrashTorn ||
           mode == FaultFileSystem::Mode::CrashLate;
}

std::vector<quint64> keptChangeSets(int n)
{
    std::vector<quint64> sets;
    if (n <= 0)
        return {0};
    const quint64 all = n >= 64 ? ~quint64(0) : (quint64(1) << n) - 1;
    if (n <= 4) {
        for (quint64 s = 0; s <= all; ++s)
            sets.push_back(s);
        return sets;
    }
    sets.push_back(0);
    for (int i = 0; i < n && i < 64; ++i) {
        sets.push_back(quint64(1) << i);
        sets.push_back(all & ~(quint64(1) << i));
        sets.push_back(i == 63 ? all : (quint64(1) << (i + 1)) - 1);
    }
    std::sort(sets.begin(), sets.end());
    sets.erase(std::unique(sets.begin(), sets.end()), sets.end());
    return sets;
}

int stepsBeforeFault(FaultFileSystem::Mode mode, int at,
                     const std::function<void(store::FileSystem&, const std::function<void()>& returned)>& run)
{
    int returned = -1;
    FaultFileSystem fs(mode, at);
    try {
        run(fs, [&] { ++returned; });
    } catch (const store::StoreError&) {
    }
    return returned;
}

} // namespace testing_support
