// The third tab of the tools window: the diary maintenance runs.

#include "tools/zebtool.h"

#include "controls/action.h"
#include "controls/daypicker.h"
#include "controls/platform.h"
#include "diary/rules/daytext.h"
#include "diary/rules/numbers.h"
#include "main/zeb6.h"
#include "store/error.h"
#include "tools/rules/maintenance.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace {

// Rows of a group, from its top: the two explanation lines and the row of
// scope, period and button.
constexpr int kLine1 = 10;
constexpr int kLine2 = 26;
constexpr int kRow = 58;
constexpr int kGroupTops[] = {8, 112, 216};

QLabel* textLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

} // namespace

QDateEdit* TToolForm1::datePicker(int x, int y)
{
    // Typed as the main window's day selector is: a typed date takes effect
    // whole, text that is no date is refused with a message.
    auto* picker = new DayPicker(PanelToolsVerwalten);
    picker->setGeometry(x, y, 97, 21);
    picker->setDisplayFormat(daytext::typableFormat(numbers::shortDateFormat()));
    picker->setCalendarPopup(true);
    // The bounds are applied when a typed date takes effect, on a calendar
    // choice and on the arrow keys; values set by the program are applied
    // with the signals blocked.
    connect(picker, &QDateEdit::dateChanged, this, [this, picker] { DateTimePickerVerwaltenChange(picker); });
    return picker;
}

void TToolForm1::buildMaintenancePanel()
{
    QWidget* p = PanelToolsVerwalten;
    const QStringList fillScopes = {
        QStringLiteral("Gesamtes Tagebuch"), QStringLiteral("Einträge \"Nahrung\""),
        QStringLiteral("Einträge \"Aktivität\""), QStringLiteral("Einträge \"Gewicht\"")};

    std::array<QFrame*, 3> bevels{};
    for (int g = 0; g < 3; ++g) {
        bevels[g] = new QFrame(p);
        bevels[g]->setGeometry(8, kGroupTops[g], 574, 97);
        bevels[g]->setFrameStyle(QFrame::Box | QFrame::Sunken);
    }
    Bevel3 = bevels[0];
    Bevel4 = bevels[1];
    Bevel5 = bevels[2];

    auto lines = [&](int g, const QString& first, const QString& second) {
        const int top = kGroupTops[g];
        return std::pair{textLabel(p, first, QRect(20, top + kLine1, 550, 16)),
                         textLabel(p, second, QRect(20, top + kLine2, 550, 16))};
    };
    std::tie(LabelVerwalten11, LabelVerwalten12) = lines(
        0,
        QStringLiteral("Lücken füllen: Fehlende Einträge können automatisch ergänzt werden. Hierzu werden "),
        QStringLiteral("die Daten des jeweiligen Vortages - soweit vorhanden - übernommen."));
    std::tie(LabelVerwalten13, LabelVerwalten14) = lines(
        1, QStringLiteral("Komprimieren: Es können die vielen einzelnen Tagebucheinträgen in den Ordnern "),
        QStringLiteral(
            "\"Nahrung\" und \"Aktivität\" zu jeweils einem einzigen Eintrag zusammen gefaßt werden."));
    std::tie(LabelVerwalten15, LabelVerwalten16) = lines(
        2,
        QStringLiteral("Löschen: Es können alle Einträge aus dem Tagebuch komplett entfernt werden. Bitte"),
        QStringLiteral("beachten Sie, das dieser Vorgang nicht rückgängig gemacht werden kann."));

    for (int g = 0; g < 3; ++g) {
        const int y = kGroupTops[g] + kRow;
        textLabel(p, QStringLiteral("vom"), QRect(190, y + 3, 26, 16));
        textLabel(p, QStringLiteral("bis"), QRect(326, y + 3, 22, 16));
    }

    const int row1 = kGroupTops[0] + kRow;
    const int row2 = kGroupTops[1] + kRow;
    const int row3 = kGroupTops[2] + kRow;

    ComboBoxVerwalten1 = new QComboBox(p);
    ComboBoxVerwalten1->setGeometry(20, row1, 161, 21);
    ComboBoxVerwalten1->addItems(fillScopes);
    ComboBoxVerwalten2 = new QComboBox(p);
    ComboBoxVerwalten2->setGeometry(20, row2, 161, 21);
    ComboBoxVerwalten2->addItems(fillScopes.mid(0, 3));
    EditVerwalten1 = new QLineEdit(QStringLiteral("Gesamtes Tagebuch"), p);
    EditVerwalten1->setGeometry(20, row3, 161, 21);
    EditVerwalten1->setReadOnly(true);
    EditVerwalten1->setFocusPolicy(Qt::NoFocus);

    DateTimePickerVerwalten1 = datePicker(220, row1);
    DateTimePickerVerwalten2 = datePicker(352, row1);
    DateTimePickerVerwalten3 = datePicker(220, row2);
    DateTimePickerVerwalten4 = datePicker(352, row2);
    DateTimePickerVerwalten5 = datePicker(220, row3);
    DateTimePickerVerwalten6 = datePicker(352, row3);

    auto button = [&](const QString& caption, int y) {
        auto* b = new QPushButton(caption, p);
        b->setGeometry(456, y - 2, 113, 25);
        return b;
    };
    ButtonLueckenFuellen = button(QStringLiteral("Lücken füllen"), row1);
    ButtonKomprimieren = button(QStringLiteral("Komprimieren"), row2);
    ButtonAllesLoeschen = button(QStringLiteral("Alles löschen"), row3);
    connect(ButtonLueckenFuellen, &QPushButton::clicked, this, &TToolForm1::ButtonLueckenFuellenClick);
    connect(ButtonKomprimieren, &QPushButton::clicked, this, &TToolForm1::ButtonKomprimierenClick);
    connect(ButtonAllesLoeschen, &QPushButton::clicked, this, &TToolForm1::ButtonAllesLoeschenClick);

    // The wait panel lies over the tab area of the window, above the tabs.
    PanelWait = new QFrame(this);
    PanelWait->setGeometry(148, 144, 357, 97);
    PanelWait->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelWait->setLineWidth(2);
    PanelWait->setAutoFillBackground(true);
    Label1 = new QLabel(QStringLiteral("Bitte haben Sie ein wenig Geduld !"), PanelWait);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 20, 341, 18);
    ProgressBar = new QProgressBar(PanelWait);
    ProgressBar->setGeometry(24, 52, 309, 18);
    ProgressBar->setMinimum(0);
    ProgressBar->setTextVisible(false);
    PanelWait->hide();
}

void TToolForm1::presetMaintenancePanel()
{
    ComboBoxVerwalten1->setCurrentIndex(0);
    ComboBoxVerwalten2->setCurrentIndex(0);
    // The presets go through the bounds as typed days do, so that no run
    // looks for a day before the diary's first.
    const QDate preset = maintenance::clampToDiary(m_main.DateTimePicker->date().addDays(-1), m_main.range());
    for (QDateEdit* picker : {DateTimePickerVerwalten1, DateTimePickerVerwalten2, DateTimePickerVerwalten3,
                              DateTimePickerVerwalten4, DateTimePickerVerwalten5, DateTimePickerVerwalten6}) {
        const QSignalBlocker quiet(picker);
        picker->setDate(preset);
    }
}

void TToolForm1::maintenancePanelClosed()
{
    if (TagebuchUnveraendert)
        return;
    if (m_main.PanelOrdnerStatistik->isVisible())
        m_main.redrawChart();
    else
        m_main.StatistikVeraltet = true;
}

void TToolForm1::DateTimePickerVerwaltenChange(QDateEdit* sender)
{
    const QDate day = sender->date();
    const QDate bounded = maintenance::clampToDiary(day, m_main.range());
    if (bounded != day) {
        const QSignalBlocker quiet(sender);
        sender->setDate(bounded);
    }
}

void TToolForm1::DBFilterAufheben()
{
    // The runs need no filter switched off: see zebtool.h.
}

void TToolForm1::DBFilterSetzen()
{
    for (store::Table* table : {&m_main.Dbf_NTB, &m_main.Dbf_FTB, &m_main.Dbf_ZEB})
        table->refresh();
}

void TToolForm1::ButtonLueckenFuellenClick()
{
    const int scope = ComboBoxVerwalten1->currentIndex();
    runMaintenance(DateTimePickerVerwalten1, DateTimePickerVerwalten2, maintenance::fillQuestion,
                   [scope](maintenance::DiaryTables t, QDate s, QDate e,
                           const maintenance::Progress& progress) -> Checked<QString> {
                       const Checked<maintenance::Result> filled =
                           maintenance::fillGaps(t, s, e, scope, progress);
                       if (!filled)
                           return Checked<QString>::refused(filled.message());
                       return maintenance::fillMessage(*filled, s, e);
                   });
}

void TToolForm1::ButtonKomprimierenClick()
{
    const int scope = ComboBoxVerwalten2->currentIndex();
    runMaintenance(
        DateTimePickerVerwalten3, DateTimePickerVerwalten4, maintenance::compressQuestion,
        [scope](maintenance::DiaryTables t, QDate s, QDate e, const maintenance::Progress& progress) {
            return maintenance::compressMessage(maintenance::compress(t, s, e, scope, progress), s, e);
        });
}

void TToolForm1::ButtonAllesLoeschenClick()
{
    runMaintenance(DateTimePickerVerwalten5, DateTimePickerVerwalten6, maintenance::deleteQuestion,
                   [](maintenance::DiaryTables t, QDate s, QDate e, const maintenance::Progress& progress) {
                       return maintenance::deleteMessage(maintenance::deleteAll(t, s, e, progress), s, e);
                   });
}

void TToolForm1::runMaintenance(QDateEdit* firstPicker, QDateEdit* lastPicker, MaintenanceQuestion question,
                                const VerwaltenSchritt& run)
{
    const QDate first = firstPicker->date();
    const QDate last = lastPicker->date();
    if (!platform::runAction(this, [&] { return maintenance::checkPeriod(first, last, platform::today()); }))
        return;
    if (!platform::askQuestion(this, question(first, last)))
        return;

    const maintenance::DiaryTables tables{m_main.Dbf_NTB, m_main.Dbf_FTB, m_main.Dbf_XTB, m_main.Dbf_ZEB};
    // A run that fails or is refused leaves the diary as it was or
    // completed; either way the user goes on working with the filters on and
    // the chart brought up to date on close.
    const auto showDiary = [this] {
        PanelWait->hide();
        TagebuchUnveraendert = false;
        DBFilterSetzen();
        m_main.showStoredDay();
    };
    QString message;
    QString deferred;
    const bool ran = platform::runAction(
        this,
        [&]() -> Checked<> {
            DBFilterAufheben();
            ProgressBar->setMaximum(static_cast<int>(first.daysTo(last)) + 1);
            ProgressBar->setValue(0);
            PanelWait->show();
            PanelWait->raise();
            PanelWait->repaint();
            try {
                const Checked<QString> done =
                    run(tables, first, last, [this](int day) { ProgressBar->setValue(day); });
                if (!done)
                    return Checked<>::refused(done.message());
                message = *done;
            } catch (const store::DeferredReplacement& e) {
                deferred = e.text();
            }
            return Passed{};
        },
        showDiary);
    if (!ran)
        return;
    if (!deferred.isEmpty()) {
        try {
            showDiary();
        } catch (const store::StoreError&) {
            // The next start shows the diary whole; until then what shows stays.
        }
        platform::showMessage(this, maintenance::kDoneAtNextStart, deferred);
        return;
    }
    platform::MessageBeep(platform::Sound::DefaultBeep);
    PanelWait->hide();
    platform::showMessage(this, message);
    // Before the user can edit the day, so that no field writes back what
    // the run changed.
    platform::runAction(this, [this] {
        DBFilterSetzen();
        m_main.showStoredDay();
    });
    TagebuchUnveraendert = false;
}
