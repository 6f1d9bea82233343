// One print job on the system's default printer through the print system
// (CUPS): the printer is asked first whether it can take the job, the pages
// are laid out on its default paper in its default orientation, made as a
// PDF in memory and sent as one job whose taking the print system confirms.

#include "main/print/printout.h"

#include <cups/cups.h>

namespace print {
namespace {

// The default destination and what the print system knows of it, freed on
// every way out.
struct Destination
{
    cups_dest_t* dest = nullptr;
    cups_dinfo_t* info = nullptr;

    Destination() = default;
    Destination(const Destination&) = delete;
    Destination& operator=(const Destination&) = delete;
    ~Destination()
    {
        if (info)
            cupsFreeDestInfo(info);
        if (dest)
            cupsFreeDests(1, dest);
    }

    // An option of the destination: the printer's default for a job
    // attribute (its name without "-default"), an attribute of the printer,
    // or what the user's lpoptions set; null when there is none.
    const char* option(const char* name) const
    {
        return cupsGetOption(name, dest->num_options, dest->options);
    }
    QString text(const char* name) const { return QString::fromUtf8(option(name)); }
};

// Why there is no default destination. libcups takes the default from
// LPDEST, else from PRINTER unless it is "lp", else from the lpoptions and
// the server; a variable naming a printer the server does not know is the
// user's to mend.
QString noDestination()
{
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        const QString lpdest = qEnvironmentVariable("LPDEST");
        if (!lpdest.isEmpty())
            return report::missingPrinterMessage(lpdest, QStringLiteral("LPDEST"));
        const QString printer = qEnvironmentVariable("PRINTER");
        if (!printer.isEmpty() && printer != QStringLiteral("lp"))
            return report::missingPrinterMessage(printer, QStringLiteral("PRINTER"));
    }
    return report::noPrinterMessage();
}

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace

bool onPrinter(const Content& content, QString& problem)
{
    Destination d;
    d.dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr);
    if (!d.dest) {
        problem = noDestination();
        return false;
    }
    report::PrinterState state;
    state.name = d.text("printer-info");
    if (state.name.isEmpty())
        state.name = QString::fromUtf8(d.dest->name);
    state.accepting = d.text("printer-is-accepting-jobs") != QStringLiteral("false");
    state.state = d.text("printer-state").toInt();
    if (const Checked<> printer = report::checkPrinter(state); !printer) {
        problem = printer.message();
        return false;
    }

    d.info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, d.dest);
    if (!d.info) {
        problem = report::jobRefusedMessage(state.name, lastError());
        return false;
    }
    // The user's choice (lpoptions) first, then the printer's default.
    int orientation = d.text("orientation-requested").toInt();
    if (orientation == 0 && d.option("landscape"))
        orientation = 4;
    if (orientation == 0) {
        if (ipp_attribute_t* a =
                cupsFindDestDefault(CUPS_HTTP_DEFAULT, d.dest, d.info, "orientation-requested"))
            orientation = ippGetInteger(a, 0);
    }
    QByteArray media = d.option("media");
    if (media.isEmpty()) {
        if (ipp_attribute_t* a = cupsFindDestDefault(CUPS_HTTP_DEFAULT, d.dest, d.info, "media"))
            media = ippGetString(a, 0, nullptr);
    }
    cups_size_t paper;
    const bool known =
        (!media.isEmpty() && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, d.dest, d.info, media.constData(),
                                                    CUPS_MEDIA_FLAGS_DEFAULT, &paper)) ||
        cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, d.dest, d.info, CUPS_MEDIA_FLAGS_DEFAULT, &paper);
    const QPageLayout fallback = defaultPdfLayout();
    QSizeF paperSize = fallback.pageSize().size(QPageSize::Millimeter);
    QMarginsF margins = fallback.margins(QPageLayout::Millimeter);
    if (known) {
        // In hundredths of a millimetre, for the paper held upright.
        paperSize = QSizeF(paper.width, paper.length) / 100.0;
        margins = QMarginsF(paper.left, paper.top, paper.right, paper.bottom) / 100.0;
    }
    const report::PrintablePage page = report::printablePage(margins, orientation);
    const QPageLayout layout(QPageSize(paperSize, QPageSize::Millimeter),
                             page.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, page.margins,
                             QPageLayout::Millimeter);
    // Made whole before a job exists: an error here leaves none.
    const QByteArray bytes = pdf(content, layout);

    // The job states the paper and orientation it was laid out for, so that
    // the printer does not turn the pages once more.
    int count = 0;
    cups_option_t* options = nullptr;
    if (known)
        count = cupsAddOption("media", paper.media, count, &options);
    if (orientation != 0)
        count = cupsAddOption("orientation-requested", QByteArray::number(orientation).constData(), count,
                              &options);
    const QByteArray title =
        (content.title.isEmpty() ? QStringLiteral("Kelvara: Statistik") : content.title).toUtf8();
    int job = 0;
    const ipp_status_t created =
        cupsCreateDestJob(CUPS_HTTP_DEFAULT, d.dest, d.info, &job, title.constData(), count, options);
    cupsFreeOptions(count, options);
    if (job <= 0 || created > IPP_STATUS_OK_EVENTS_COMPLETE) {
        problem = report::jobRefusedMessage(state.name, lastError());
        return false;
    }
    bool sent = false;
    if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, d.dest, d.info, job, title.constData(), CUPS_FORMAT_PDF, 0,
                              nullptr, 1) == HTTP_STATUS_CONTINUE) {
        const http_status_t written =
            cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.constData(), bytes.size());
        // The document's answer is the print system's word that it holds the job.
        const ipp_status_t answer = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, d.dest, d.info);
        sent = written == HTTP_STATUS_CONTINUE && answer <= IPP_STATUS_OK_EVENTS_COMPLETE;
    }
    if (!sent) {
        problem = report::jobRefusedMessage(state.name, lastError());
        // A job without its document would wait for ever.
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, d.dest, job);
        return false;
    }
    return true;
}

} // namespace print
