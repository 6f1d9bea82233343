#include "scheduler.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace testing_support {
namespace {

bool writeFile(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           f.write(text.toUtf8()) == text.toUtf8().size();
}

// A printer description whose only filter passes the document through
// unchanged, so that the file device receives the program's own PDF (when
// `format` is a PDF).
QString passThroughPpd(int dpi, const QString& format)
{
    return QStringLiteral(
               "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
               "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"KELVARA.PPD\"\n"
               "*Manufacturer: \"Test\"\n*Product: \"(File)\"\n*ModelName: \"File\"\n"
               "*ShortNickName: \"File\"\n*NickName: \"File\"\n*PSVersion: \"(3010.000) 0\"\n"
               "*LanguageLevel: \"3\"\n*ColorDevice: False\n*DefaultColorSpace: Gray\n"
               "*FileSystem: False\n*Throughput: \"1\"\n*LandscapeOrientation: Plus90\n"
               "*TTRasterizer: Type42\n"
               "*cupsFilter2: \"%2 application/vnd.cups-pdf 0 gziptoany\"\n"
               "*OpenUI *PageSize/Media Size: PickOne\n*OrderDependency: 10 AnySetup *PageSize\n"
               "*DefaultPageSize: A4\n*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
               "*PageSize A5/A5: \"<</PageSize[420 595]>>setpagedevice\"\n"
               "*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n"
               "*OrderDependency: 10 AnySetup *PageRegion\n*DefaultPageRegion: A4\n"
               "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
               "*PageRegion A5/A5: \"<</PageSize[420 595]>>setpagedevice\"\n*CloseUI: *PageRegion\n"
               "*DefaultImageableArea: A4\n*ImageableArea A4: \"18 36 577 806\"\n"
               "*ImageableArea A5: \"18 36 402 559\"\n"
               "*DefaultPaperDimension: A4\n*PaperDimension A4: \"595 842\"\n"
               "*PaperDimension A5: \"420 595\"\n"
               "*OpenUI *Resolution/Resolution: PickOne\n*OrderDependency: 10 AnySetup *Resolution\n"
               "*DefaultResolution: %1dpi\n*Resolution %1dpi/%1 dpi: \"\"\n*CloseUI: *Resolution\n")
        .arg(dpi)
        .arg(format);
}

QString runTool(const QString& program, const QStringList& args, QString* error)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("%1 %2: %3")
                         .arg(program, args.join(u' '), QString::fromLocal8Bit(p.readAllStandardError()));
        return QString();
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

PrivateScheduler::PrivateScheduler() : m_dir(QDir::tempPath() + QStringLiteral("/kelvara-cups-XXXXXX"))
{
    const QString root = m_dir.path();
    QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                    QFileDevice::ExeOther);
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "out", "ppd", "home", "client"})
        QDir(root).mkpath(QString::fromLatin1(sub));
    const auto everyone = QFileDevice::Permissions(0x7777);
    QFile::setPermissions(root + QStringLiteral("/out"), everyone);
    QFile::setPermissions(root + QStringLiteral("/tmp"), everyone);

    // The scheduler refuses to run jobs as root; as anyone else it can only
    // run them as that user.
    QString user = QStringLiteral("lp"), group = QStringLiteral("lp");
    if (::geteuid() != 0) {
        user = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
        group = QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name);
    }
    const QString files =
        QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir %1/state\n"
                       "TempDir %1/tmp\nAccessLog %1/log/access_log\nErrorLog %1/log/error_log\n"
                       "PageLog %1/log/page_log\nPrintcap %1/printcap\nServerBin /usr/lib/cups\n"
                       "DataDir /usr/share/cups\nDocumentRoot /usr/share/cups/doc-root\n"
                       "FileDevice Yes\nUser %2\nGroup %3\nSystemGroup root\n")
            .arg(root, user, group);
    const QString conf =
        QStringLiteral("Listen %1\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                       "MaxJobs 0\nPreserveJobHistory Yes\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
            .arg(socket());
    if (!writeFile(root + QStringLiteral("/cups-files.conf"), files) ||
        !writeFile(root + QStringLiteral("/cupsd.conf"), conf)) {
        m_error = QStringLiteral("configuration not written");
        return;
    }
    const QStringList args = {QStringLiteral("-c"), root + QStringLiteral("/cupsd.conf"),
                              QStringLiteral("-s"), root + QStringLiteral("/cups-files.conf")};
    QString checkError;
    runTool(QStringLiteral("/usr/sbin/cupsd"), QStringList(args) << QStringLiteral("-t"), &checkError);
    if (!checkError.isEmpty()) {
        m_error = checkError;
        return;
    }

    qputenv("CUPS_SERVER", socket().toLocal8Bit());
    qputenv("HOME", home().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("CUPS_SERVERROOT", (root + QStringLiteral("/client")).toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    m_cupsd = std::make_unique<QProcess>();
    m_cupsd->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_cupsd->setStandardOutputFile(root + QStringLiteral("/log/stdout"));
    // Ends with this process, however it ends.
    m_cupsd->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_cupsd->start(QStringLiteral("/usr/sbin/cupsd"), QStringList(args) << QStringLiteral("-f"));
    if (!m_cupsd->waitForStarted(10000)) {
        m_error = QStringLiteral("cupsd did not start: ") + m_cupsd->errorString();
        return;
    }
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (m_cupsd->state() != QProcess::Running) {
            m_error =
                QStringLiteral("cupsd ended at start-up, see ") + root + QStringLiteral("/log/error_log");
            return;
        }
        QProcess probe;
        probe.start(QStringLiteral("lpstat"), {QStringLiteral("-r")});
        probe.waitForFinished(10000);
        if (probe.exitCode() == 0 && probe.readAllStandardOutput().contains("is running"))
            return;
        QThread::msleep(100);
    }
    m_error = QStringLiteral("cupsd does not answer on ") + socket();
}

PrivateScheduler::~PrivateScheduler()
{
    if (m_cupsd && m_cupsd->state() != QProcess::NotRunning) {
        m_cupsd->terminate();
        if (!m_cupsd->waitForFinished(10000)) {
            m_cupsd->kill();
            m_cupsd->waitForFinished(5000);
        }
    }
}

QString PrivateScheduler::socket() const
{
    return m_dir.path() + QStringLiteral("/cups.sock");
}

QString PrivateScheduler::run(const QString& program, const QStringList& args, QString* error) const
{
    return runTool(program, args, error);
}

QString PrivateScheduler::addQueue(const QString& name, int dpi, const QStringList& options,
                                   const QString& format)
{
    const QString ppd = m_dir.path() + QStringLiteral("/%1.ppd").arg(name);
    if (!writeFile(ppd, passThroughPpd(dpi, format)))
        return QStringLiteral("cannot write ") + ppd;
    QString error;
    run(QStringLiteral("lpadmin"),
        QStringList{QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("file://") + output(name), QStringLiteral("-P"), ppd}
            << options,
        &error);
    if (error.isEmpty())
        run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name}, &error);
    return error;
}

QString PrivateScheduler::home() const
{
    return m_dir.path() + QStringLiteral("/home");
}

bool PrivateScheduler::setLpoptions(const QString& text) const
{
    // Written here rather than by lpoptions, which as root would write the
    // machine's own file.
    const QString file = home() + QStringLiteral("/.cups/lpoptions");
    if (text.isEmpty())
        return !QFile::exists(file) || QFile::remove(file);
    return QDir().mkpath(home() + QStringLiteral("/.cups")) && writeFile(file, text + u'\n');
}

void PrivateScheduler::removeQueue(const QString& name)
{
    run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
}

QString PrivateScheduler::output(const QString& name) const
{
    return m_dir.path() + QStringLiteral("/out/%1.pdf").arg(name);
}

QStringList PrivateScheduler::jobs() const
{
    QStringList ids;
    const QString out =
        run(QStringLiteral("lpstat"), {QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o")});
    for (const QString& line : out.split(u'\n', Qt::SkipEmptyParts))
        ids << line.section(u' ', 0, 0);
    return ids;
}

bool PrivateScheduler::waitUntilIdle() const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        if (run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty())
            return true;
        QThread::msleep(100);
    }
    return false;
}

QString pdfText(const QString& pdf)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")},
                   nullptr);
}

std::vector<PdfWord> pdfWords(const QString& pdf)
{
    std::vector<PdfWord> words;
    const QString html =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, nullptr);
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    int page = 0;
    for (const QString& line : html.split(u'\n')) {
        if (line.contains(QStringLiteral("<page ")))
            ++page;
        const QRegularExpressionMatch m = word.match(line);
        if (m.hasMatch()) {
            QString text = m.captured(5);
            text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
                .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
            words.push_back({page, m.captured(1).toDouble(), m.captured(2).toDouble(),
                             m.captured(3).toDouble(), m.captured(4).toDouble(), text});
        }
    }
    return words;
}

QString pdfInfo(const QString& pdf, const QString& key)
{
    const QString out = runTool(QStringLiteral("pdfinfo"), {pdf}, nullptr);
    for (const QString& line : out.split(u'\n')) {
        if (line.startsWith(key + u':'))
            return line.mid(key.size() + 1).trimmed();
    }
    return QString();
}

bool renderPdfPage(const QString& pdf, int page, int dpi, const QString& png)
{
    QString error;
    runTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
             QString::number(page), QStringLiteral("-l"), QString::number(page),
             QStringLiteral("-singlefile"), pdf, png},
            &error);
    return error.isEmpty();
}

} // namespace testing_support
