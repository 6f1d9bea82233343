#pragma once

#include "store/fileio.h"

#include <QByteArray>
#include <QString>

namespace report {

// Writes `bytes` as the file `path`: first under a temporary name next to
// it, synced, then renamed over `path` and the folder synced. On failure
// throws store::StoreError naming the file `path` (never the temporary
// one); `path` then is as it was and the temporary file is gone.
void writeWholeFile(const QString& path, const QByteArray& bytes,
                    store::FileSystem& fs = store::posixFileSystem());

} // namespace report
