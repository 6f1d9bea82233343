#include "main/print/pdffile.h"

#include "store/error.h"

#include <QFileInfo>

namespace report {

void writeWholeFile(const QString& path, const QByteArray& bytes, store::FileSystem& fs)
{
    const QString temporary = path + QStringLiteral(".tmp");
    bool created = false;
    try {
        {
            std::unique_ptr<store::File> file = fs.create(temporary, true);
            created = true;
            file->writeAt(0, bytes.constData(), bytes.size());
            file->sync();
        }
        fs.rename(temporary, path);
    } catch (const store::StoreError&) {
        if (created) {
            try {
                fs.remove(temporary);
            } catch (const store::StoreError&) {
                // The first error is the one to report.
            }
        }
        throw;
    }
    // The rename is only certain to survive a power cut once the folder is
    // synced; a failure here is reported like any other.
    fs.syncDirectory(QFileInfo(path).absolutePath());
}

} // namespace report
