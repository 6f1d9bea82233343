// The current day: choosing it, and writing the day's totals into its record.

#include "main/diary/booking.h"
#include "main/numbers.h"
#include "main/platform.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

const QDate kFirstDay(2002, 1, 1);
const QDate kLastDay(2012, 12, 31);

} // namespace

void TFormMain1::DateTimePickerChange()
{
    try {
        const QDate chosen = DateTimePicker->date();
        const QDate day = std::clamp(chosen, kFirstDay, kLastDay);
        if (day != chosen) {
            DateTimePicker->blockSignals(true);
            DateTimePicker->setDate(day);
            DateTimePicker->blockSignals(false);
        }
        Dbf_FTB.refresh();
        Dbf_NTB.refresh();
        Dbf_ZEB.refresh();
        EditTagesgewicht->setText(dayWeightText());
        SchreibeFTBListe();
        SchreibeNTBListe();
        ZeichneBalken();
        SchreibeXTBNotiz();
    } catch (const store::StoreError& e) {
        platform::showMessage(this, e.text());
    }
}

void TFormMain1::showStoredDay()
{
    const QScopedValueRollback<bool> showing(m_showingStored, true);
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
    double energy = 0, protein = 0, carbohydrate = 0, fat = 0;
    for (Dbf_NTB.first(); !Dbf_NTB.eof(); Dbf_NTB.next()) {
        energy += Dbf_NTB.fieldDouble("NTBENERGIE");
        protein += Dbf_NTB.fieldDouble("NTBPROTEIN");
        carbohydrate += Dbf_NTB.fieldDouble("NTBKOHLENH");
        fat += Dbf_NTB.fieldDouble("NTBFETT");
    }
    Dbf_ZEB.edit();
    Dbf_ZEB.postFields({store::Unchanged{}, store::Unchanged{}, booking::dayTotal(energy), booking::dayTotal(protein),
                        booking::dayTotal(carbohydrate), booking::dayTotal(fat), store::Unchanged{}});
    ZeichneBalken();
    StatistikVeraltet = true;
}

void TFormMain1::SchreibeZEB_FTB_Daten()
{
    qint64 sum = 0;
    for (Dbf_FTB.first(); !Dbf_FTB.eof(); Dbf_FTB.next())
        sum += Dbf_FTB.fieldInt("FTBENERGIE");
    Dbf_ZEB.edit();
    Dbf_ZEB.postFields({store::Unchanged{}, store::Unchanged{}, store::Unchanged{}, store::Unchanged{},
                        store::Unchanged{}, store::Unchanged{}, booking::dayTotal(static_cast<double>(sum))});
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
