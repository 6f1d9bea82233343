#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Lays out the nine data files of a new diary in a folder.
namespace install {

// The diary's range of days.
inline const QDate kFirstDay{2002, 1, 1};
inline const QDate kLastDay{2012, 12, 31};
// The demo diary is filled up to this day.
inline const QDate kLastDemoDay{2012, 12, 28};

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
