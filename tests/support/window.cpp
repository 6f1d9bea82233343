#include "window.h"

#include "install/installer.h"
#include "support/diary.h"

#include <QCoreApplication>
#include <algorithm>
#include <stdexcept>
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

void writeExampleSettings(const QString& dir)
{
    writeSettings(dir, {{"CBG", qint64(1)},
                        {"CBA", qint64(3)},
                        {"CBB", qint64(1)},
                        {"CBH", qint64(41)},
                        {"CBM", qint64(36)},
                        {"EE", QStringLiteral("9200")},
                        {"EF", QStringLiteral("70")},
                        {"EP", QStringLiteral("80")},
                        {"EK", QStringLiteral("300")},
                        {"NF", qint64(3)},
                        {"AF", qint64(4)}});
}

void setDayRecord(const QString& dir, QDate day, double weight, qint64 energy, qint64 protein, qint64 carbohydrate,
                  qint64 fat, qint64 fitness)
{
    const QString name = QStringLiteral("Tageszusammenfassung");
    store::Table ntb(store::schema::ntb()), ftb(store::schema::ftb()), zeb(store::schema::zeb());
    for (store::Table* t : {&ntb, &ftb}) {
        t->setDayFilter([day] { return day; });
        t->open(dir);
        t->setFiltered(true);
        for (t->first(); !t->eof(); t->first())
            t->deleteRecord();
    }
    // Entries hold less than a day: as many as the totals need.
    qint64 left[4] = {energy, protein, carbohydrate, fat};
    const qint64 cap[4] = {99999, 9999, 9999, 9999};
    while (left[0] > 0 || left[1] > 0 || left[2] > 0 || left[3] > 0) {
        qint64 part[4];
        for (int i = 0; i < 4; ++i) {
            part[i] = std::clamp<qint64>(left[i], 0, cap[i]);
            left[i] -= part[i];
        }
        ntb.insert();
        ntb.postFields(testing_support::foodEntry(day, 1.0, QStringLiteral("g"), name, part[0], part[1],
                                                  part[2], part[3]));
    }
    for (qint64 rest = fitness; rest > 0; rest -= 99999) {
        ftb.insert();
        ftb.postFields(testing_support::activityEntry(day, 0, name, std::min<qint64>(rest, 99999)));
    }
    zeb.open(dir);
    if (!zeb.locate("ZEBDATUM", day))
        throw std::runtime_error("no day record");
    zeb.edit();
    zeb.postFields(testing_support::dayRecord(day, weight, energy, protein, carbohydrate, fat, fitness));
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
