#include "store/ndxformat.h"

#include "store/error.h"

#include <cstring>
#include <unordered_set>

namespace store::ndx {
namespace {

constexpr int kMaxDepth = 32;

quint32 u32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<quint32>(b[3]) << 24;
}

quint16 u16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<quint16>(b[0] | b[1] << 8);
}

void put32(char* p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>(v >> (8 * i));
}

void put16(char* p, quint16 v)
{
    p[0] = static_cast<char>(v);
    p[1] = static_cast<char>(v >> 8);
}

int entryLengthFor(int keyLength)
{
    return (keyLength + 8 + 3) / 4 * 4;
}

// Keys a node may hold so that an inner node still has room for its extra child.
int maxKeysFor(int entryLength)
{
    return (kPageSize - 4) / entryLength - 1;
}

class Reader
{
public:
    Reader(const QByteArray& image, int keyLength, const QString& fileName)
        : m_image(image), m_keyLength(keyLength), m_fileName(fileName)
    {
    }

    std::vector<Entry> run()
    {
        if (m_image.size() < kPageSize)
            damaged(QStringLiteral("Kopf fehlt"));
        const char* h = m_image.constData();
        const quint32 root = u32(h);
        m_pages = u32(h + 4);
        const int keyLength = u16(h + 12);
        m_entryLength = u16(h + 18);
        if (keyLength != m_keyLength)
            damaged(QStringLiteral("Schlüssellänge %1").arg(keyLength));
        if (m_entryLength < keyLength + 8 || m_entryLength > kPageSize - 4)
            damaged(QStringLiteral("Eintragslänge %1").arg(m_entryLength));
        if (m_pages < 2 || static_cast<qint64>(m_pages) * kPageSize > m_image.size())
            damaged(QStringLiteral("Seitenzahl %1").arg(m_pages));
        walk(root, 0);
        return std::move(m_entries);
    }

private:
    [[noreturn]] void damaged(const QString& what) const
    {
        throw StoreError(QStringLiteral("%1: Index ist beschädigt (%2).").arg(m_fileName, what));
    }

    void walk(quint32 page, int depth)
    {
        if (page == 0 || page >= m_pages)
            damaged(QStringLiteral("Seite %1 außerhalb der Datei").arg(page));
        if (depth > kMaxDepth || !m_visited.insert(page).second)
            damaged(QStringLiteral("Seite %1 mehrfach verwiesen").arg(page));
        const char* p = m_image.constData() + static_cast<qint64>(page) * kPageSize;
        const quint32 count = u32(p);
        const bool inner = u32(p + 4) != 0;
        const qint64 slotCount = inner ? qint64(count) + 1 : qint64(count);
        if (4 + slotCount * m_entryLength > kPageSize)
            damaged(QStringLiteral("Seite %1 überfüllt").arg(page));
        for (qint64 i = 0; i < slotCount; ++i) {
            const char* e = p + 4 + i * m_entryLength;
            const quint32 left = u32(e);
            if (inner) {
                if (left == 0)
                    damaged(QStringLiteral("Seite %1 unvollständig").arg(page));
                walk(left, depth + 1);
            } else {
                if (left != 0)
                    damaged(QStringLiteral("Seite %1 gemischt").arg(page));
                m_entries.push_back({QByteArray(e + 8, m_keyLength), u32(e + 4)});
            }
        }
    }

    const QByteArray& m_image;
    int m_keyLength;
    const QString& m_fileName;
    quint32 m_pages = 0;
    int m_entryLength = 0;
    std::unordered_set<quint32> m_visited;
    std::vector<Entry> m_entries;
};

struct Node
{
    quint32 page;
    QByteArray largestKey;
};

} // namespace

std::vector<Entry> read(const QByteArray& image, int keyLength, const QString& fileName)
{
    return Reader(image, keyLength, fileName).run();
}

QByteArray build(const QByteArray& keyExpression, int keyLength, const std::vector<Entry>& sorted)
{
    const int entryLength = entryLengthFor(keyLength);
    const int maxKeys = maxKeysFor(entryLength);
    std::vector<QByteArray> pages;
    auto newPage = [&pages]() -> char* {
        pages.emplace_back(kPageSize, '\0');
        return pages.back().data();
    };
    auto pageNumber = [&pages]() { return static_cast<quint32>(pages.size()); }; // page 0 is the header

    // Leaves, filled in order; an empty index is a single empty leaf.
    std::vector<Node> level;
    size_t i = 0;
    do {
        char* p = newPage();
        const size_t n = std::min(sorted.size() - i, static_cast<size_t>(maxKeys));
        put32(p, static_cast<quint32>(n));
        for (size_t k = 0; k < n; ++k) {
            char* e = p + 4 + k * entryLength;
            put32(e + 4, sorted[i + k].recno);
            std::memcpy(e + 8, sorted[i + k].key.constData(), keyLength);
        }
        i += n;
        level.push_back({pageNumber(), n ? sorted[i - 1].key : QByteArray(keyLength, ' ')});
    } while (i < sorted.size());

    // Inner levels until one node is left: up to maxKeys + 1 children each,
    // spread evenly so that no inner node is left with a single child (a node
    // without keys, which other readers take for an empty one).
    while (level.size() > 1) {
        std::vector<Node> upper;
        const size_t nodes = (level.size() + maxKeys) / (maxKeys + 1);
        size_t first = 0;
        for (size_t n = 0; n < nodes; ++n) {
            const size_t children = (level.size() - first) / (nodes - n);
            char* p = newPage();
            put32(p, static_cast<quint32>(children - 1));
            for (size_t k = 0; k < children; ++k) {
                char* e = p + 4 + k * entryLength;
                put32(e, level[first + k].page);
                if (k + 1 < children)
                    std::memcpy(e + 8, level[first + k].largestKey.constData(), keyLength);
            }
            upper.push_back({pageNumber(), level[first + children - 1].largestKey});
            first += children;
        }
        level = std::move(upper);
    }

    QByteArray image(kPageSize, '\0');
    char* h = image.data();
    put32(h, level.front().page);
    put32(h + 4, static_cast<quint32>(pages.size() + 1));
    put16(h + 12, static_cast<quint16>(keyLength));
    put16(h + 14, static_cast<quint16>(maxKeys));
    put16(h + 16, 0); // character key
    put16(h + 18, static_cast<quint16>(entryLength));
    std::memcpy(h + 24, keyExpression.constData(), std::min<qsizetype>(keyExpression.size(), 255));
    for (const QByteArray& page : pages)
        image += page;
    return image;
}

} // namespace store::ndx
