#pragma once

#include "main/diary/rules/diary.h"

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
QStringList existingDiaryFiles(const QString& dir);

enum class Content {
    Fresh, // catalogues, settings defaults, one zeroed day record a day, empty diary
    Demo   // as Fresh, then every day up to lastShownDay used as a person would
};

// Creates `dir` if needed and writes the nine files of a diary of the
// eleven years from 1 January `firstYear`. Its chart opens on the weeks of
// `today` (the day it is laid out), kept within the diary's first day ...
// lastShownDay; without a day, on the weeks of lastShownDay. Refuses,
// touching nothing, a year diary::Range::elevenYears does not take and a
// folder that holds any of the files already; on a failure the files
// written so far are removed again. Throws InstallError or
// store::StoreError.
void layOutDiary(const QString& dir, Content content, int firstYear = kOriginalFirstYear, QDate today = {});

} // namespace install
