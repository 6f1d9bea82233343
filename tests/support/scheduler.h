#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace testing_support {

// A private CUPS scheduler in a temporary folder: its own configuration,
// spool, logs and socket, with file devices allowed. The system's own CUPS
// setup is never touched. Programs of this process reach it through
// CUPS_SERVER, which the constructor sets; the destructor stops it, and the
// scheduler also ends when this process dies.
//
// The client side is private too: the constructor gives the process a home
// folder of its own (home(), empty, with XDG_CONFIG_HOME in it) and a CUPS
// configuration folder of its own, and removes PRINTER and LPDEST, so that no lpoptions file or default
// printer of the machine is read. libcups reads HOME once, at its first
// use in a thread: create the scheduler before anything of the process
// prints.
class PrivateScheduler
{
public:
    PrivateScheduler();
    ~PrivateScheduler();

    // Empty when the scheduler runs; otherwise what went wrong at its start.
    const QString& error() const { return m_error; }
    QString socket() const;

    // A queue that writes each job, unchanged, to the file output(name), at
    // the printer resolution `dpi`, on A4 (or A5) paper with margins of
    // 18 pt left and right and 36 pt at the top and bottom; it becomes the
    // default printer. `options` are more lpadmin options
    // ("-o", "orientation-requested-default=4" ...); `format` is the only
    // document format the queue takes. Returns what went wrong, or an empty
    // text.
    QString addQueue(const QString& name, int dpi = 300, const QStringList& options = {},
                     const QString& format = QStringLiteral("application/pdf"));
    // The private home folder, and its lpoptions file's text ("Dest <queue>
    // orientation-requested=4"); an empty text removes the file.
    QString home() const;
    bool setLpoptions(const QString& text) const;
    // Removes the queue if there is one.
    void removeQueue(const QString& name);
    // The file the queue's device writes.
    QString output(const QString& name) const;

    // Every job the scheduler has taken, finished or not ("<queue>-<id>").
    QStringList jobs() const;
    // Waits until every job is finished; false after a generous time.
    bool waitUntilIdle() const;

    // A client program (lpadmin, lpstat ...) run against this scheduler;
    // its standard output, and in `error` what went wrong.
    QString run(const QString& program, const QStringList& args, QString* error = nullptr) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_cupsd;
    QString m_error;
};

// Text of a PDF as `pdftotext -layout` reads it (page breaks as form feeds).
QString pdfText(const QString& pdf);
// The words of a PDF with their boxes in points, as `pdftotext -bbox` reads
// them, in reading order.
struct PdfWord
{
    int page; // from 1
    double xMin, yMin, xMax, yMax;
    QString text;
};
std::vector<PdfWord> pdfWords(const QString& pdf);
// `pdfinfo` of a file: "Pages", "Page size" ... ; empty when it is no PDF.
QString pdfInfo(const QString& pdf, const QString& key);
// Page `page` (from 1) of a PDF rendered by pdftoppm at `dpi` as PNG file
// `png` (without the extension pdftoppm adds).
bool renderPdfPage(const QString& pdf, int page, int dpi, const QString& png);

} // namespace testing_support
