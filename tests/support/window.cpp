#include "window.h"

#include "install/installer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>

namespace testing_support {

FreshDiary::FreshDiary()
{
    install::layOutDiary(m_dir.path(), install::Content::Fresh);
}

QString FreshDiary::path(const char* name) const
{
    return QDir(m_dir.path()).filePath(QString::fromLatin1(name));
}

Seams::Seams()
{
    platform::setSoundRecorder([this](platform::Sound s) { sounds.push_back(s); });
    platform::setDialogHandler([this](platform::DialogKind, const QString& text) {
        messages << text;
        return answer;
    });
    platform::setSaveDialogHandler([this](const QString& proposed) {
        proposedFiles << proposed;
        return saveAs;
    });
}

Seams::~Seams()
{
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    platform::setSaveDialogHandler([](const QString&) { return QString(); });
    platform::setToday(QDate());
}

void writeSettings(const QString& dir, const std::vector<std::pair<const char*, store::Value>>& fields)
{
    store::Table reg(store::schema::reg());
    reg.open(dir);
    reg.first();
    reg.edit();
    for (const auto& [name, value] : fields)
        reg.setField(name, value);
    reg.post();
}

void settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

QStringList outOfView(const QTableWidget& grid)
{
    QStringList out;
    for (int c = 0; c < grid.columnCount(); ++c) {
        if (grid.isColumnHidden(c))
            continue;
        const int left = grid.columnViewportPosition(c);
        if (left < 0 || left + grid.columnWidth(c) > grid.viewport()->width())
            out << QString::number(c);
    }
    if (grid.horizontalScrollBar()->maximum() > 0)
        out << QStringLiteral("sideways");
    return out;
}

} // namespace testing_support
