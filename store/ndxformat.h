#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// The dBase III single-key index (.ndx): 512-byte pages, page 0 the header
// (root page, page count, key length, entry length, key expression), the
// others B-tree nodes. A node holds a key count and entries of left child,
// record number and key; a leaf's children are 0, an inner node carries one
// more child than keys, and each inner key is the largest key below its
// child.
namespace store::ndx {

constexpr int kPageSize = 512;

struct Entry
{
    QByteArray key; // exactly the key length, blank-padded
    quint32 recno;  // 1-based record number in the table
};

// Every leaf entry in tree order. Throws StoreError naming `fileName` when
// the structure is damaged (bad header, page out of range, cycle, overfull
// node) or its key length is not `keyLength`.
std::vector<Entry> read(const QByteArray& image, int keyLength, const QString& fileName);

// A complete index over `sorted`, which must be in ascending key order.
QByteArray build(const QByteArray& keyExpression, int keyLength, const std::vector<Entry>& sorted);

} // namespace store::ndx
