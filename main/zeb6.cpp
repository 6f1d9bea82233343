#include "main/zeb6.h"

#include "controls/platform.h"
#include "controls/readable.h"

#include "controls/daypicker.h"
#include "controls/stringgrid.h"
#include "diary/rules/daytext.h"
#include "diary/rules/numbers.h"
#include "main/draw/pictures/pictures.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

// A panel with the raised one-pixel bevel of the window's panels.
QFrame* panel(QWidget* parent, int x, int y, int w, int h)
{
    auto* p = new QFrame(parent);
    p->setGeometry(x, y, w, h);
    p->setFrameStyle(QFrame::Panel | QFrame::Raised);
    p->setLineWidth(1);
    p->setAutoFillBackground(true);
    return p;
}

QToolButton* speedButton(QWidget* parent, int x, int y, pictures::Button glyph, const QString& hint)
{
    auto* b = new QToolButton(parent);
    b->setGeometry(x, y, 49, 38);
    b->setIcon(pictures::buttonGlyph(glyph));
    b->setIconSize(QSize(30, 30));
    b->setToolTip(hint);
    b->setAutoRaise(false);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

TFormMain1::TFormMain1(const QString& dir, store::FileSystem& fs) : QWidget(nullptr), m_fs(fs), m_dir(dir)
{
    readable::keepApplicationPalette();
    platform::makeFixedWindow(*this, QStringLiteral("Kelvara [1.02f]"), QSize(780, 554));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
    setAttribute(Qt::WA_AlwaysShowToolTips);

    buildFrame();
    buildGoals();
    buildDiaryFolders();
    buildDrawing();
    buildStatistics();
    nameControls();
    buildKeyboard();
    watchSettings();

    Dbf_NRG.setFilter([this](const store::RecordRef& r) { return Dbf_NRGFilterRecord(r); });
    Dbf_AKT.setFilter([this](const store::RecordRef& r) { return Dbf_AKTFilterRecord(r); });
    for (store::Table* day : {&Dbf_NTB, &Dbf_FTB, &Dbf_ZEB})
        day->setDayFilter([this] { return filterDay(); });

    FormCreate();
}

TFormMain1::~TFormMain1()
{
    // Hiding the window on its way out ends the edit of the focused field:
    // a window whose tables are going may not write the settings then.
    for (QObject* source : std::initializer_list<QObject*>{EditEnergie, EditEnergieCal, EditFett, EditProtein,
                                                           EditKohlenh, ComboBoxGeschlecht, ComboBoxAlter,
                                                           ComboBoxBeruf, ComboBoxHoehe, ComboBoxGewicht})
        disconnect(source, nullptr, this, nullptr);
}

const diary::Range& TFormMain1::range() const
{
    return m_range;
}

void TFormMain1::buildFrame()
{
    PanelLinks1 = panel(this, 0, 0, 112, 554);
    PanelLinks1->setObjectName(QStringLiteral("PanelLinks1"));
    PanelStatistik = panel(this, 112, 2, 553, 546);
    PanelFitness = panel(this, 112, 2, 553, 546);
    PanelNahrung = panel(this, 112, 2, 553, 546);
    PanelNotiz = panel(this, 112, 2, 553, 546);
    PanelZiele = panel(this, 112, 3, 553, 546);
    PanelRechts1 = panel(this, 664, 0, 115, 554);
    ImageOben1 = new QLabel(this);
    ImageOben1->setGeometry(112, 0, 600, 3);
    ImageUnten1 = new QLabel(this);
    ImageUnten1->setGeometry(108, 549, 560, 5);

    DateTimePicker = new DayPicker(PanelLinks1);
    DateTimePicker->setGeometry(7, 21, 93, 24);
    DateTimePicker->setCalendarPopup(true);
    DateTimePicker->setDisplayFormat(daytext::typableFormat(numbers::shortDateFormat()));
    connect(DateTimePicker, &QDateEdit::dateChanged, this, &TFormMain1::DateTimePickerChange);

    EditTagesgewicht = new QLineEdit(PanelRechts1);
    EditTagesgewicht->setGeometry(38, 24, 44, 23);
    EditTagesgewicht->setMaxLength(5);
    EditTagesgewicht->setText(QStringLiteral("0"));
    auto* kg = new QLabel(QStringLiteral("kg"), PanelRechts1);
    kg->setGeometry(86, 28, 20, 16);

    SpeedButtonHilfe =
        speedButton(PanelRechts1, 11, 473, pictures::Button::Help, QStringLiteral("Hilfe (F1)"));
    SpeedButtonDruck =
        speedButton(PanelRechts1, 63, 473, pictures::Button::Printer, QStringLiteral("Drucken (Strg+P)"));
    SpeedButtonTool =
        speedButton(PanelRechts1, 11, 514, pictures::Button::Tools, QStringLiteral("Tools (Werkzeuge)"));
    SpeedButtonEnde =
        speedButton(PanelRechts1, 63, 514, pictures::Button::Exit, QStringLiteral("Programmende"));
    connect(SpeedButtonEnde, &QToolButton::clicked, this, &TFormMain1::SpeedButtonEndeClick);
    connect(SpeedButtonHilfe, &QToolButton::clicked, this, &TFormMain1::SpeedButtonHilfeClick);
    connect(SpeedButtonTool, &QToolButton::clicked, this, &TFormMain1::SpeedButtonToolClick);
    connect(SpeedButtonDruck, &QToolButton::clicked, this, &TFormMain1::SpeedButtonDruckClick);
}
