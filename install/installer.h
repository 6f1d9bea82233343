#pragma once

#include "main/diary/rules/diary.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Lays out the nine data files of a new diary in a folder.
namespace install {

// The demo diary is filled up to the day before the latest the program
// opens on.
inline const QDate kLastDemoDay = diary::kLastStartDay.addDays(-1);

class InstallError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The diary files already present in `dir` (matched without regard to
// letter case).
QStringList existingDiaryFiles(const QString& dir);

enum class Content {
    Fresh, // catalogues, settings defaults, one zeroed day record a day, empty diary
    Demo   // as Fresh, then every day up to kLastDemoDay used as a person would
};

// Creates `dir` if needed and writes the nine files. Refuses, touching
// nothing, when any of them exists already; on a failure the files written
// so far are removed again. Throws InstallError or store::StoreError.
void layOutDiary(const QString& dir, Content content);

} // namespace install
