#pragma once

#include "controls/platform.h"
#include "main/zeb6.h"
#include "support/locale.h"

#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace testing_support {

// A fresh diary from the installer in a temporary folder.
class FreshDiary
{
public:
    FreshDiary();
    QString dir() const { return m_dir.path(); }
    QString path(const char* name) const;

private:
    QTemporaryDir m_dir;
};

// Records the sounds and dialogs of a test and answers questions.
class Seams
{
public:
    Seams();
    ~Seams();
    std::vector<platform::Sound> sounds;
    QStringList messages;
    bool answer = true;
    // Save dialogs: the paths proposed, and the path chosen (empty: cancel).
    QStringList proposedFiles;
    QString saveAs;
};

// Sets the settings fields of the first settings record.
void writeSettings(const QString& dir, const std::vector<std::pair<const char*, store::Value>>& fields);

// The settings of a user who has filled in the goals folder: every
// personal datum (height 180 cm), 9200 kJ, 70 g fat, 80 g protein and 300 g
// carbohydrate, with food category 3 and activity category 4 in front.
void writeExampleSettings(const QString& dir);

// Sets a day record's weight and totals together with entries of that day
// that sum to them (named as the maintenance runs name a day's summary),
// replacing the day's entries: a start finds the day sound and keeps it.
void setDayRecord(const QString& dir, QDate day, double weight, qint64 energy, qint64 protein,
                  qint64 carbohydrate, qint64 fat, qint64 fitness);

// Runs the event loop for a moment, so that queued closes take place.
void settle();

// What of a list is not in full view: each visible column that reaches out
// of the list's view (by number), and "sideways" when the list can scroll
// sideways. Empty when every header and cell is shown in full.
QStringList outOfView(const QTableWidget& grid);

} // namespace testing_support
