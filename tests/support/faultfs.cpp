#include "faultfs.h"

#include "store/error.h"

#include <algorithm>

namespace testing_support {

class FaultFile : public store::File
{
public:
    FaultFile(FaultFileSystem& fs, std::unique_ptr<store::File> real, QString path)
        : m_fs(fs), m_real(std::move(real)), m_path(std::move(path))
    {
        m_fs.m_files.push_back(this);
    }
    ~FaultFile() override { std::erase(m_fs.m_files, this); }

    qint64 size() override { return image().size(); }

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
        apply(m_pending.size());
        m_real->sync();
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
    if (m_mode == Mode::Count || m_calls != m_at)
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
}

std::unique_ptr<store::File> FaultFileSystem::open(const QString& path, bool exclusive)
{
    if (m_crashed)
        throw store::StoreError(QStringLiteral("abgestürzt (open)"));
    return std::make_unique<FaultFile>(*this, store::posixFileSystem().open(path, exclusive), path);
}

std::unique_ptr<store::File> FaultFileSystem::create(const QString& path, bool replace)
{
    step("create", path);
    return std::make_unique<FaultFile>(*this, store::posixFileSystem().create(path, replace), path);
}

void FaultFileSystem::rename(const QString& from, const QString& to)
{
    step("rename", to);
    store::posixFileSystem().rename(from, to);
}

void FaultFileSystem::remove(const QString& path)
{
    step("remove", path);
    store::posixFileSystem().remove(path);
}

void FaultFileSystem::syncDirectory(const QString& dir)
{
    step("syncdir", dir);
    store::posixFileSystem().syncDirectory(dir);
}

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
    }
    return "Unknown";
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
