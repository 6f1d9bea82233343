#pragma once

#include "main/platform.h"
#include "main/zeb6.h"

#include <QLocale>
#include <QStringList>
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
};

// Sets the settings fields of the first settings record.
void writeSettings(const QString& dir, const std::vector<std::pair<const char*, store::Value>>& fields);

// Sets a day record's weight and totals together with entries of that day
// that sum to them (named as the maintenance runs name a day's summary),
// replacing the day's entries: a start finds the day sound and keeps it.
void setDayRecord(const QString& dir, QDate day, double weight, qint64 energy, qint64 protein, qint64 carbohydrate,
                  qint64 fat, qint64 fitness);

// Sets the default locale for its lifetime.
class LocaleScope
{
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

// Runs the event loop for a moment, so that queued closes take place.
void settle();

} // namespace testing_support
