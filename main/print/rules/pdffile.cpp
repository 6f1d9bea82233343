#include "main/print/rules/pdffile.h"

#include "store/error.h"

#include <QFileInfo>

namespace report {

void writeWholeFile(const QString& path, const QByteArray& bytes, store::FileSystem& fs)
{
    const QString temporary = path + QStringLiteral(".tmp");
    bool created = false;
    try {
        {
            fs.remove(temporary);
            std::unique_ptr<store::File> file = fs.create(temporary);
            created = true;
            file->writeAt(0, bytes.constData(), bytes.size());
            file->sync();
        }
        fs.rename(temporary, path);
    } catch (const store::StoreError& e) {
        if (created) {
            try {
                fs.remove(temporary);
            } catch (const store::StoreError&) {
                // The first error is the one to report.
            }
        }
        // The temporary file is ours; the user knows the file by the name
        // chosen. Errors name their file first.
        const QString ours = QFileInfo(temporary).fileName() + u':';
        if (e.text().startsWith(ours))
            throw store::StoreError(QFileInfo(path).fileName() + u':' + e.text().mid(ours.size()));
        throw;
    }
    // The rename is only certain to survive a power cut once the folder is
    // synced; a failure here is reported like any other.
    fs.syncDirectory(QFileInfo(path).absolutePath());
}

} // namespace report
