// Start-up and shutdown of the main window: FormCreate with the settings and
// the tables, the start-up messages, and the settings written at the end.

#include "controls/action.h"
#include "controls/platform.h"
#include "controls/stringgrid.h"
#include "diary/rules/daysummary.h"
#include "diary/rules/numbers.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStringList>
#include <QTimer>
#include <QToolButton>

#include <fcntl.h>
#include <functional>
#include <new>
#include <unistd.h>
#include <utility>

namespace {

// The start-up messages: the settings table or the data tables could not
// be opened.
const QString kSettingsTableUnopened =
    QStringList{
        QStringLiteral("Fataler Fehler beim Öffnen der Datei ZEB_REG.dbf !"),
        QString(),
        QStringLiteral("1. Datei wird unerlaubt durch ein anderes Programm benutzt:=> Beenden Sie das andere "
                       "Programm !"),
        QString(),
        QStringLiteral("2. Datei nicht komplett oder beschädigt:"),
        QStringLiteral("=> Stellen Sie sicher, das sich die Datei ZEB_REG.dbf im "),
        QStringLiteral("Arbeitsverzeichnis von \"ZEB2006.exe\" vorhanden ist."),
        QStringLiteral("Unter Umständen müssen Sie \"Kelvara\" neu installieren,"),
        QStringLiteral("wobei alle Tagebucheinträge verloren gehen."),
    }
        .join(u'\r');

const QString kDataTablesUnopened =
    QStringList{
        QStringLiteral("Fataler Fehler beim Öffnen der Datenbankdateien !"),
        QString(),
        QStringLiteral("1. Datenbank wird unerlaubt durch ein anderes Programm benutzt:"),
        QStringLiteral("=> Beenden Sie das andere Programm !"),
        QStringLiteral("2. Datenbank nicht komplett oder beschädigt:"),
        QStringLiteral("=> Stellen Sie sicher, das folgende 9 Dateien im Arbeitsverzeichnis"),
        QStringLiteral("von \"ZEB2006.exe\" vorhanden sind:"),
        QStringLiteral("ZEB_ZEB.dbf"),
        QStringLiteral("ZEB_AKT.dbf"),
        QStringLiteral("ZEB_NRG.dbf"),
        QStringLiteral("ZEB_FTB.dbf"),
        QStringLiteral("ZEB_NTB.dbf"),
        QStringLiteral("AKTNAME.ndx"),
        QStringLiteral("NRGNAME.ndx"),
        QStringLiteral("ZEB_XTB.dbf"),
        QStringLiteral("ZEB_REG.dbf"),
        QStringLiteral("Unter Umständen müssen Sie \"Kelvara\" neu installieren, wobei"),
        QStringLiteral("alle Tagebucheinträge verloren gehen."),
    }
        .join(u'\r');

const QString kOutOfMemory = QStringLiteral("Zu wenig Arbeitsspeicher, um die Dateien zu lesen.");

// A diary the system does not let the program write is whole: the start-up
// messages for damaged files, which advise reinstalling, would cost the user
// the diary. This one names the folder, or the one file, that cannot be
// written: the folder when it is on a read-only file system or itself not
// writable, else the file the system refused.
QString notWritableMessage(const store::StoreError& error, const QString& dir)
{
    const QByteArray nativeDir = QFile::encodeName(dir);
    const bool folder = error.cause() == store::StoreError::Cause::ReadOnlyFileSystem ||
                        ::faccessat(AT_FDCWD, nativeDir.constData(), W_OK, AT_EACCESS) != 0 ||
                        QFileInfo(error.path()).isDir();
    const QString shown = QDir::toNativeSeparators(QFileInfo(folder ? dir : error.path()).absoluteFilePath());
    QStringList lines{
        folder ? QStringLiteral("Der Ordner „%1“ kann nicht beschrieben werden.").arg(shown)
               : QStringLiteral("Die Datei „%1“ kann nicht beschrieben werden.").arg(shown),
        QString(),
    };
    if (error.cause() == store::StoreError::Cause::ReadOnlyFileSystem)
        lines << QStringLiteral("Der Datenträger ist schreibgeschützt.");
    lines << QStringLiteral("Kelvara speichert jede Eingabe sofort und braucht dafür Schreibrecht auf den "
                            "Ordner des Tagebuchs und alle seine Dateien.")
          << QStringLiteral("=> Geben Sie sich dieses Recht, oder kopieren Sie den Ordner an einen Ort, an "
                            "dem Sie schreiben dürfen, und starten Sie Kelvara dort.")
          << QString() << QStringLiteral("Die Tagebucheinträge sind unverändert erhalten.");
    return lines.join(u'\r');
}

// A maintenance run's list of renames left behind whose files are not the
// ones it names: nothing was replaced, and the files were renamed.
QString setAsideMessage(const QStringList& moved)
{
    return QStringList{QStringLiteral("Eine unterbrochene Änderung des Tagebuchs wurde nicht übernommen: "
                                      "Ihre Dateien passen nicht zu den Dateien dieses Tagebuchs."),
                       QStringLiteral("Das Tagebuch ist unverändert. Diese Dateien wurden umbenannt und "
                                      "beiseite gelegt:"),
                       moved.join(u'\r')}
        .join(u'\r');
}

// The end could not write the settings record.
const QString kSettingsUnwrittenAtEnd =
    QStringLiteral("Fataler Fehler beim Programmende!\rDatei ZEB_REG.dbf konnte nicht beschrieben werden.");

// Visible, in front and not minimised.
void showSideWindow(QWidget* window)
{
    if (!window)
        return;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

// Tells when a side window is minimised, and when it becomes the active
// window.
class SideWindowWatch : public QObject
{
public:
    SideWindowWatch(QWidget* window, std::function<void(bool minimised)> changed)
        : QObject(window), m_changed(std::move(changed))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWidget*>(watched);
        if (event->type() == QEvent::WindowStateChange && window->isMinimized())
            m_changed(true);
        else if (event->type() == QEvent::ActivationChange && window->isActiveWindow())
            m_changed(false);
        return false;
    }

private:
    std::function<void(bool)> m_changed;
};

} // namespace

void TFormMain1::setSideWindows(QWidget* help, QWidget* tools)
{
    m_help = help;
    m_tools = tools;
    for (QWidget* side : std::initializer_list<QWidget*>{help, tools}) {
        if (side)
            new SideWindowWatch(side, [this, side](bool minimised) {
                // Only the window that had the focus hands it on.
                if (!minimised)
                    m_activeWindow = side;
                m_sideWindowMinimised = minimised && m_activeWindow == side;
            });
    }
}

QDate TFormMain1::filterDay() const
{
    return DateTimePicker->date();
}

// A failed allocation anywhere on the way ends in the start-up message as
// well, never in an abort.
void TFormMain1::FormCreate()
try {
    // Grid headers and column widths.
    const struct
    {
        StringGrid* grid;
        std::vector<std::pair<const char*, int>> columns;
    } grids[] = {
        {StringGridFTB, {{" min", 42}, {" Aktivitäten", 198}, {" Energie", 45}}},
        {StringGridNTB,
         {{" Menge", 42},
          {" ME", 22},
          {" Ernährung", 175},
          {" Energie", 45},
          {" Protein", 50},
          {" Kohlenh.", 50},
          {" Fett", 50}}},
        {StringGridFIT, {{" Tätigkeiten", 179}, {"", 0}}},
        {StringGridNRG, {{" Nahrungsmittel", 179}, {"", 0}, {"", 0}, {"", 0}, {"", 0}, {"", 0}}},
        {StringGridNotizSuche, {{"-", 90}, {"-", 441}}},
    };
    for (const auto& g : grids) {
        for (size_t c = 0; c < g.columns.size(); ++c) {
            g.grid->setCell(static_cast<int>(c), 0, QString::fromUtf8(g.columns[c].first));
            g.grid->setColWidth(static_cast<int>(c), g.columns[c].second);
        }
    }

    // The bevel sheet; the goals folder in front.
    ZeichneImage3DObjekte();
    bringFolderToFront(1);
    AktuellerOrdner = 1;
    ZeichneOrdner();

    // Lists of heights and desired weights; the first search period.
    for (int item = 1; item <= units::kDesiredWeightItems; ++item)
        ComboBoxGewicht->addItem(QStringLiteral("%1 kg").arg(*units::desiredWeightKg(item)));
    for (int item = 1; item <= units::kHeightItems; ++item)
        ComboBoxHoehe->addItem(QStringLiteral("%1 cm").arg(*units::heightCm(item)));
    ComboBoxNotizSuche->setCurrentIndex(0);

    // The settings table, after a maintenance run left unfinished.
    try {
        const QStringList setAside = store::finishReplacement(m_fs, m_dir);
        if (!setAside.isEmpty())
            platform::showMessage(this, setAsideMessage(setAside));
        Dbf_REG.open(m_dir);
        Dbf_REG.first();
        StartFehler = false;
    } catch (const store::StoreError& e) {
        startFailed(e.notWritable() ? notWritableMessage(e, m_dir) : kSettingsTableUnopened, e.text());
        return;
    } catch (const std::bad_alloc&) {
        startFailed(kSettingsTableUnopened, kOutOfMemory);
        return;
    }

    // The settings, all or none: a field that cannot be read brings the
    // defaults back for everything.
    Settings settings;
    try {
        settings = readSettings(Dbf_REG);
    } catch (const store::StoreError&) {
        settings = Settings();
    }
    applySettings(settings);
    m_savedSettings = currentSettings();

    // The signs, in the loaded display unit.
    ZeichneSchilder();

    // The display unit.
    RadioButtonKcal->setChecked(AnzeigeKcal);
    RadioButtonJoule->setChecked(!AnzeigeKcal);

    // Normal weight and recommendations.
    BerechneNormEnergie();

    // Today; kept inside the diary's days once the daily summary has
    // told them (openDataTables).
    DateTimePicker->blockSignals(true);
    DateTimePicker->setDate(platform::today());
    DateTimePicker->blockSignals(false);

    // The data tables, as one block.
    try {
        openDataTables();
    } catch (const store::StoreError& e) {
        startFailed(e.notWritable() ? notWritableMessage(e, m_dir) : kDataTablesUnopened, e.text());
        return;
    } catch (const std::bad_alloc&) {
        startFailed(kDataTablesUnopened, kOutOfMemory);
        return;
    }

    // The day bars, the chart controls and the category buttons.
    StartFehler = false;
    ZeichneBalken();
    startStatistics();
    SpeedButtonN[NahrungKategorie >= 2 && NahrungKategorie <= 16 ? NahrungKategorie : 1]->setChecked(true);
    SpeedButtonA[AktivKategorie >= 2 && AktivKategorie <= 9 ? AktivKategorie : 1]->setChecked(true);
} catch (const std::bad_alloc&) {
    startFailed(kDataTablesUnopened, kOutOfMemory);
}

void TFormMain1::startFailed(const QString& message, const QString& reason)
{
    platform::MessageBeep(platform::Sound::Exclamation);
    platform::showMessage(this, message, reason);
    StartFehler = true;
}

void TFormMain1::applySettings(const Settings& s)
{
    NahrungKategorie = s.NahrungKategorie;
    StatistikArt = s.StatistikArt;
    ZoomStufeX = s.ZoomStufeX;
    ScrollPosX = s.ScrollPosX;
    AktivKategorie = s.AktivKategorie;
    ZoomStufeY = s.ZoomStufeY;
    ScrollPosY = s.ScrollPosY;
    Glaetten = s.Glaetten;
    AnzeigeKcal = s.AnzeigeKcal;
    ComboBoxGeschlecht->setCurrentIndex(s.geschlecht);
    ComboBoxAlter->setCurrentIndex(s.alter);
    ComboBoxBeruf->setCurrentIndex(s.beruf);
    ComboBoxHoehe->setCurrentIndex(s.hoehe);
    ComboBoxGewicht->setCurrentIndex(s.gewicht);
    EditEnergie->setText(s.energie);
    EditEnergieCal->setText(units::kcalGoalFromKj(EditEnergie->text()));
    EditFett->setText(s.fett);
    EditProtein->setText(s.protein);
    EditKohlenh->setText(s.kohlenh);
}

Settings TFormMain1::currentSettings() const
{
    Settings s;
    s.NahrungKategorie = NahrungKategorie;
    s.StatistikArt = StatistikArt;
    s.ZoomStufeX = ZoomStufeX;
    s.ScrollPosX = ScrollPosX;
    s.AktivKategorie = AktivKategorie;
    s.ZoomStufeY = ZoomStufeY;
    s.ScrollPosY = ScrollPosY;
    s.Glaetten = Glaetten;
    s.AnzeigeKcal = AnzeigeKcal;
    s.geschlecht = ComboBoxGeschlecht->currentIndex();
    s.alter = ComboBoxAlter->currentIndex();
    s.beruf = ComboBoxBeruf->currentIndex();
    s.hoehe = ComboBoxHoehe->currentIndex();
    s.gewicht = ComboBoxGewicht->currentIndex();
    s.energie = AnzeigeKcal ? units::kjGoalFromKcal(EditEnergieCal->text()) : EditEnergie->text();
    s.fett = EditFett->text();
    s.protein = EditProtein->text();
    s.kohlenh = EditKohlenh->text();
    return s;
}

void TFormMain1::openDataTables()
{
    // No file of the diary is a link or anything but a plain file: nothing
    // is read or written through one.
    store::checkDiaryFiles(m_dir, m_fs);
    Dbf_AKT.open(m_dir);
    Dbf_AKT.setFiltered(true);
    Dbf_AKT.refresh();
    SchreibeFitnessListe();
    WechselDragAktivBild();

    Dbf_NRG.open(m_dir);
    Dbf_NRG.setFiltered(true);
    Dbf_NRG.refresh();
    SchreibeNahrungListe();
    WechselDragBildArt();

    // The diaries and the daily summary are read once: the reading that
    // checks their records sums them by day for the repair below.
    Dbf_NTB.open(m_dir, daysummary::foodEntryFields());
    Dbf_NTB.setFiltered(true);
    Dbf_NTB.refresh();
    SchreibeNTBListe();

    Dbf_FTB.open(m_dir, daysummary::activityEntryFields());
    Dbf_FTB.setFiltered(true);
    Dbf_FTB.refresh();
    SchreibeFTBListe();

    Dbf_XTB.open(m_dir);
    SchreibeXTBNotiz();

    Dbf_ZEB.open(m_dir, daysummary::dayTotalFields());
    // The chart and the maintenance runs step through the day records as
    // days: a file that is not one record per day in order is not used.
    const Checked<diary::Range> range = daysummary::rangeOf(Dbf_ZEB.recordDays());
    if (!range)
        throw store::StoreError(
            QStringLiteral("%1: %2").arg(QLatin1String(store::schema::zeb().fileName), range.message()));
    m_range = *range;
    const QDate start = std::clamp(DateTimePicker->date(), m_range.first, m_range.lastStartDay());
    if (start != DateTimePicker->date()) {
        // The day lists and the note were filled for today, outside the
        // diary: they follow the day it opens on, and nothing shown for
        // today is written into that day.
        const QSignalBlocker quiet(DateTimePicker);
        const QScopedValueRollback<bool> showing(m_showingStored, true);
        DateTimePicker->setDate(start);
        Dbf_NTB.refresh();
        Dbf_FTB.refresh();
        SchreibeNTBListe();
        SchreibeFTBListe();
        SchreibeXTBNotiz();
    }
    // A crash between writing an entry and its day's totals leaves the
    // totals behind; they are summed anew before anything shows them.
    daysummary::repairTotals(Dbf_NTB, Dbf_FTB, Dbf_ZEB);
    Dbf_ZEB.first();
    Dbf_ZEB.setFiltered(true);
    Dbf_ZEB.refresh();

    EditTagesgewicht->setText(dayWeightText());
}

void TFormMain1::FormShow()
{
    if (StartFehler)
        QTimer::singleShot(0, this, &QWidget::close);
}

void TFormMain1::FormActivate()
{
    // Minimising a side window makes the window manager activate this one:
    // that is no return of the user, and a minimised tools window keeps
    // what was typed into it until it is restored.
    m_activeWindow = this;
    if (std::exchange(m_sideWindowMinimised, false))
        return;
    if (m_tools && m_tools->isVisible() && !m_tools->isMinimized())
        m_tools->close();
}

void TFormMain1::writeSettingsRecord()
{
    const Settings settings = currentSettings();
    try {
        Dbf_REG.first();
        Dbf_REG.edit();
        writeSettings(Dbf_REG, settings);
        Dbf_REG.post();
    } catch (const store::StoreError&) {
        Dbf_REG.cancel();
        throw;
    }
    m_savedSettings = settings;
}

void TFormMain1::FormClose()
{
    try {
        writeSettingsRecord();
    } catch (const store::StoreError&) {
        platform::showMessage(this, kSettingsUnwrittenAtEnd);
    }
}

void TFormMain1::saveChangedSettings()
{
    // Leaving a field for the message box of a failed write ends its edit
    // once more: that must not write again.
    // Nor does the start, which sets the controls from the record.
    if (m_closing || StartFehler || m_savingSettings || !isVisible() || currentSettings() == m_savedSettings)
        return;
    m_savingSettings = true;
    platform::runAction(
        this, [this] { writeSettingsRecord(); },
        [this] {
            showStoredGoals();
            // Told once for this state of the settings; the end writes again.
            m_savedSettings = currentSettings();
        });
    m_savingSettings = false;
}

void TFormMain1::watchSettings()
{
    const auto save = [this] { saveChangedSettings(); };
    for (QComboBox* b : {ComboBoxGeschlecht, ComboBoxAlter, ComboBoxBeruf, ComboBoxHoehe, ComboBoxGewicht})
        connect(b, &QComboBox::activated, this, save);
    for (QLineEdit* e : {EditEnergie, EditEnergieCal, EditFett, EditProtein, EditKohlenh})
        connect(e, &QLineEdit::editingFinished, this, save);
    // The display unit switches when a radio button is set, by the program too.
    for (QRadioButton* b : {RadioButtonKcal, RadioButtonJoule})
        connect(b, &QRadioButton::toggled, this, save);
    std::vector<QAbstractButton*> buttons{BitBtnZoomXPlus, BitBtnZoomXMinus, BitBtnZoomYPlus, BitBtnZoomYMinus,
                                          BitBtnGlaettenJa, BitBtnGlaettenNein};
    buttons.insert(buttons.end(), SpeedButtonN.begin() + 1, SpeedButtonN.end());
    buttons.insert(buttons.end(), SpeedButtonA.begin() + 1, SpeedButtonA.end());
    buttons.insert(buttons.end(), SpeedButtonS.begin() + 1, SpeedButtonS.end());
    for (QAbstractButton* b : buttons)
        connect(b, &QAbstractButton::clicked, this, save);
    for (QScrollBar* bar : {ScrollBarStatistikX, ScrollBarStatistikY}) {
        connect(bar, &QScrollBar::valueChanged, this, [this, bar, save] {
            if (!bar->isSliderDown())
                save();
        });
        connect(bar, &QScrollBar::sliderReleased, this, save);
    }
}

void TFormMain1::showStoredGoals()
{
    Settings stored = m_savedSettings;
    try {
        Dbf_REG.refresh();
        Dbf_REG.first();
        stored = readSettings(Dbf_REG);
    } catch (const store::StoreError&) {
        // Unreadable now: the goals last stored stand.
    }
    for (auto [box, item] : {std::pair{ComboBoxGeschlecht, stored.geschlecht}, {ComboBoxAlter, stored.alter},
                             {ComboBoxBeruf, stored.beruf}, {ComboBoxHoehe, stored.hoehe},
                             {ComboBoxGewicht, stored.gewicht}})
        box->setCurrentIndex(item);
    EditEnergie->setText(stored.energie);
    EditEnergieCal->setText(units::kcalGoalFromKj(stored.energie));
    EditFett->setText(stored.fett);
    EditProtein->setText(stored.protein);
    EditKohlenh->setText(stored.kohlenh);
    BerechneNormEnergie();
    ZeichneWaage();
}

void TFormMain1::SpeedButtonEndeClick()
{
    close();
}

void TFormMain1::SpeedButtonHilfeClick()
{
    showSideWindow(m_help);
}

void TFormMain1::SpeedButtonToolClick()
{
    showSideWindow(m_tools);
}

void TFormMain1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TFormMain1::closeEvent(QCloseEvent* event)
{
    if (!m_closing) {
        m_closing = true;
        FormClose();
        emit closed();
    }
    event->accept();
}

void TFormMain1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    else if (event->type() == QEvent::PaletteChange && ImageLinks1)
        redrawPictures();
}
