// The current day: choosing it, and writing the day's totals into its record.

#include "controls/action.h"
#include "diary/rules/daytotals.h"
#include "diary/rules/numbers.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QScopedValueRollback>

void TFormMain1::DateTimePickerChange()
{
    platform::runAction(this, [this] {
        const QDate chosen = DateTimePicker->date();
        const QDate day = std::clamp(chosen, m_range.first, m_range.last);
        if (day != chosen) {
            DateTimePicker->blockSignals(true);
            DateTimePicker->setDate(day);
            DateTimePicker->blockSignals(false);
        }
        showDayOfTables();
    });
}

void TFormMain1::showStoredDay()
{
    const QScopedValueRollback<bool> showing(m_showingStored, true);
    showDayOfTables();
}

void TFormMain1::showDayOfTables()
{
    Dbf_FTB.refresh();
    Dbf_NTB.refresh();
    Dbf_ZEB.refresh();
    EditTagesgewicht->setText(dayWeightText());
    SchreibeFTBListe();
    SchreibeNTBListe();
    ZeichneBalken();
    SchreibeXTBNotiz();
}

QString TFormMain1::dayWeightText()
{
    try {
        return numbers::shortest(Dbf_ZEB.fieldDouble("ZEBGEWICHT"));
    } catch (const store::StoreError&) {
        return QStringLiteral("0");
    }
}

void TFormMain1::SchreibeZEB_NTB_Daten()
{
    diary::EntrySums sums;
    for (Dbf_NTB.first(); !Dbf_NTB.eof(); Dbf_NTB.next())
        sums.addFoodEntry(Dbf_NTB);
    Dbf_ZEB.edit();
    Dbf_ZEB.postFields(diary::foodTotalFields(diary::totalsOf(sums)));
    ZeichneBalken();
    StatistikVeraltet = true;
}

void TFormMain1::SchreibeZEB_FTB_Daten()
{
    diary::EntrySums sums;
    for (Dbf_FTB.first(); !Dbf_FTB.eof(); Dbf_FTB.next())
        sums.addActivityEntry(Dbf_FTB);
    Dbf_ZEB.edit();
    Dbf_ZEB.postFields(diary::activityTotalFields(diary::totalsOf(sums)));
    ZeichneBalken();
    StatistikVeraltet = true;
}

void TFormMain1::bookOrRevert(store::Table& diary, const std::function<void()>& steps)
{
    const quint64 before = diary.changeCount();
    try {
        steps();
    } catch (const store::StoreError&) {
        // An entry and its day's totals go together: when either cannot be
        // written, the entry's change is taken back and the diary is as it
        // was.
        if (diary.changeCount() != before) {
            try {
                diary.revertLastChange();
            } catch (const store::StoreError&) {
            }
        }
        throw;
    }
}
