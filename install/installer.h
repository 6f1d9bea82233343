#pragma once

#include "diary/rules/diary.h"
#include "store/fileio.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Lays out the nine data files of a new diary in a folder.
namespace install {

// The years of the diary the original data files come with: 2002 to 2012.
constexpr int kOriginalFirstYear = 2002;
inline const diary::Range kOriginalRange = *diary::Range::elevenYears(kOriginalFirstYear);

// The last day the chart of a new diary shows, and the demo diary fills:
// the day before the latest day the program opens on.
QDate lastShownDay(const diary::Range& range);
inline const QDate kLastDemoDay = lastShownDay(kOriginalRange);

class InstallError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The diary files already present in `dir` (matched without regard to
// letter case).
QStringList existingDiaryFiles(const QString& dir, store::FileSystem& fs = store::posixFileSystem());

enum class Content {
    Fresh, // catalogues, settings defaults, one zeroed day record a day, empty diary
    Demo   // as Fresh, then every day up to lastShownDay used as a person would
};

// Creates `dir` if needed and writes the nine files of a diary of the
// eleven years from 1 January `firstYear`, dated by the program's clock.
// Its chart opens on the weeks of `today` (the day it is laid out), kept
// within the diary's first day ... lastShownDay; without a day, on the
// weeks of lastShownDay.
//
// The nine files are put in place all at once (store::createTables): a
// crash at any instant leaves no diary, or one that the program's next
// start, or the next run of the installer, completes. A run first finishes
// or clears what an interrupted one left, as the program's start does; a
// diary it so completes is reported (InstallError), not laid out anew.
// Refuses, touching nothing, a year diary::Range::elevenYears does not
// take, and refuses a folder that holds any of the files. Throws
// InstallError or store::StoreError.
void layOutDiary(const QString& dir, Content content, int firstYear = kOriginalFirstYear, QDate today = {},
                 store::FileSystem& fs = store::posixFileSystem());

} // namespace install
