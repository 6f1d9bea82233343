// The goals folder: personal data, the recommendations computed from them,
// the user's own goals and the display unit of every energy.

#include "controls/action.h"
#include "controls/keyfilter.h"
#include "controls/platform.h"
#include "controls/readable.h"
#include "diary/rules/numbers.h"
#include "main/goals/rules/energymodel.h"
#include "main/goals/rules/weightrules.h"
#include "main/zeb6.h"
#include "store/error.h"
#include "store/schema.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString kDash = QStringLiteral(" - ");

// The caption of the energy row in the display unit.
QString energyCaption(bool kcal)
{
    return QStringLiteral("Nahrungsenergie (%1) :").arg(units::energyUnit(kcal));
}

// Columns of the result grid: row captions, normal weight, desired weight,
// the user's goals.
constexpr int kCaptionX = 16;
constexpr int kColumnX[] = {226, 326, 426};
constexpr int kColumnWidth = 90;
constexpr int kHeadY = 12;
constexpr int kRowY[] = {62, 98, 134, 170};
constexpr int kRowHeight = 24;

QFrame* box(QWidget* parent, int x, int y, int w, int h)
{
    auto* f = new QFrame(parent);
    f->setGeometry(x, y, w, h);
    f->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return f;
}

void rule(QWidget* parent, int x, int y, int w)
{
    auto* line = new QFrame(parent);
    line->setGeometry(x, y, w, 2);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
}

QLabel* label(QWidget* parent, int x, int y, int w, int h, const QString& text,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, h);
    l->setAlignment(alignment);
    return l;
}

QComboBox* comboBox(QWidget* parent, int x, int y, int width, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setGeometry(x, y, width, 24);
    box->addItems(items);
    box->setMaxVisibleItems(20);
    box->setCurrentIndex(0);
    return box;
}

// A read-only cell of the result grid.
QLabel* resultCell(QWidget* parent, int column, int row)
{
    auto* l = label(parent, kColumnX[column] + 4, kRowY[row], kColumnWidth - 8, kRowHeight,
                    QStringLiteral("???"), Qt::AlignCenter);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The shade of a field that cannot be typed into, and its text, in
    // whatever palette the desktop has.
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::AlternateBase);
    l->setForegroundRole(QPalette::Text);
    return l;
}

// A goal field: `typedLength` characters may be entered; the program sets
// longer goals whole.
QLineEdit* goalEdit(QWidget* parent, int row, int typedLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(kColumnX[2] + 15, kRowY[row], kColumnWidth - 30, kRowHeight);
    edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit->setText(QStringLiteral("0"));
    const store::TableSchema& reg = store::schema::reg();
    EntryGuard::install(edit, typedLength, reg.fields[reg.fieldPosition("EE")].codePage);
    return edit;
}

} // namespace

void TFormMain1::buildGoals()
{
    // Personal data.
    PanelZiele1 = box(PanelZiele, 12, 12, 529, 214);
    const int captionWidth = 110;
    const int comboX = 136;
    LabelZiele1 = label(PanelZiele1, 20, 18, captionWidth, 24, QStringLiteral("Geschlecht :"));
    LabelZiele2 = label(PanelZiele1, 20, 50, captionWidth, 24, QStringLiteral("Lebensalter :"));
    LabelZiele3 = label(PanelZiele1, 20, 82, captionWidth, 24, QStringLiteral("Tätigkeit :"));
    LabelZiele4 = label(PanelZiele1, 20, 114, captionWidth, 24, QStringLiteral("Körperhöhe :"));
    ComboBoxGeschlecht = comboBox(PanelZiele1, comboX, 18, 150, {"?", "männlich", "weiblich"});
    ComboBoxAlter = comboBox(PanelZiele1, comboX, 50, 150,
                             {"?", "10 ... 18 Jahre", "19 ... 30 Jahre", "31 ... 60 Jahre", "über 60 Jahre"});
    ComboBoxBeruf =
        comboBox(PanelZiele1, comboX, 82, 290,
                 {"?", "Leichte Arbeit (z.B. Bürokraft)", "Mittelschwere Arbeit (z.B. Verkäufer/in)",
                  "Schwere Arbeit (z.B. Maurer)", "Sehr schwere Arbeit (z.B. Bergmann)"});
    ComboBoxHoehe = comboBox(PanelZiele1, comboX, 114, 150, {"?"});
    rule(PanelZiele1, 12, 152, 505);
    label(PanelZiele1, 20, 170, captionWidth, 24, QStringLiteral("Mein Ziel :"));
    ComboBoxGewicht = comboBox(PanelZiele1, comboX, 170, 150, {"?"});
    label(PanelZiele1, comboX + 166, 164, 210, 18, QStringLiteral("Dieses Gewicht möchte ich "));
    label(PanelZiele1, comboX + 166, 182, 210, 18, QStringLiteral("mittelfristig erreichen."));

    // Recommendations at the normal and the desired weight, and the goals.
    PanelZiele2 = box(PanelZiele, 12, 236, 529, 208);
    const auto head = [this](int x, const char* first, const char* second) {
        label(PanelZiele2, x, kHeadY, kColumnWidth, 34,
              QString::fromUtf8(first) + u'\n' + QString::fromUtf8(second), Qt::AlignCenter);
    };
    label(PanelZiele2, kCaptionX, kHeadY, 200, 34,
          QStringLiteral("Empfehlung für die") + u'\n' + QStringLiteral("tägl. Nahrungszufuhr"));
    head(kColumnX[0], " Normal-", "gewicht");
    head(kColumnX[1], " Wunsch-", "gewicht");
    head(kColumnX[2], "Meine", "Ziele");
    rule(PanelZiele2, 12, 52, 505);
    auto* separator = new QFrame(PanelZiele2);
    separator->setGeometry(kColumnX[2] - 4, 8, 2, 192);
    separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);

    LabelZiele7 =
        label(PanelZiele2, kCaptionX, kRowY[0], 200, kRowHeight, energyCaption(false));
    LabelZiele8 = label(PanelZiele2, kCaptionX, kRowY[1], 200, kRowHeight, QStringLiteral("Fett (g) :"));
    LabelZiele9 = label(PanelZiele2, kCaptionX, kRowY[2], 200, kRowHeight, QStringLiteral("Protein (g) :"));
    LabelZiele6 =
        label(PanelZiele2, kCaptionX, kRowY[3], 200, kRowHeight, QStringLiteral("Kohlenhydrate (g) :"));

    LabelEnergie1 = resultCell(PanelZiele2, 0, 0);
    LabelEnergie1cal = resultCell(PanelZiele2, 0, 0);
    LabelEnergie2 = resultCell(PanelZiele2, 1, 0);
    LabelEnergie2cal = resultCell(PanelZiele2, 1, 0);
    LabelEnergie1cal->hide();
    LabelEnergie2cal->hide();
    LabelFett1 = resultCell(PanelZiele2, 0, 1);
    LabelFett2 = resultCell(PanelZiele2, 1, 1);
    LabelProtein1 = resultCell(PanelZiele2, 0, 2);
    LabelProtein2 = resultCell(PanelZiele2, 1, 2);
    LabelKohlenh1 = resultCell(PanelZiele2, 0, 3);
    LabelKohlenh2 = resultCell(PanelZiele2, 1, 3);

    EditEnergie = goalEdit(PanelZiele2, 0, units::kKjGoalLength);
    EditEnergieCal = goalEdit(PanelZiele2, 0, units::kKcalGoalLength);
    EditEnergieCal->hide();
    EditFett = goalEdit(PanelZiele2, 1, 3);
    EditProtein = goalEdit(PanelZiele2, 2, 3);
    EditKohlenh = goalEdit(PanelZiele2, 3, 3);

    // Display unit.
    PanelZiele3 = box(PanelZiele, 12, 454, 529, 80);
    RadioButtonKcal = new QRadioButton(QStringLiteral("Energieangabe in kcal"), PanelZiele3);
    RadioButtonKcal->setGeometry(20, 14, 240, 22);
    RadioButtonJoule = new QRadioButton(QStringLiteral("Energieangabe in Joule"), PanelZiele3);
    RadioButtonJoule->setGeometry(20, 44, 240, 22);
    readable::ringReadably(*RadioButtonKcal);
    readable::ringReadably(*RadioButtonJoule);
    RadioButtonJoule->setChecked(true);

    for (QComboBox* b : {ComboBoxGeschlecht, ComboBoxAlter, ComboBoxBeruf, ComboBoxHoehe, ComboBoxGewicht})
        connect(b, &QComboBox::activated, this, [this, b] { ComboBoxZieleClick(b); });
    for (QLineEdit* e : {EditEnergie, EditEnergieCal, EditFett, EditProtein, EditKohlenh}) {
        connect(e, &QLineEdit::textChanged, this, &TFormMain1::EditZieleChange);
        KeyPressFilter::install(e,
                                [this](QLineEdit* sender, QChar& key) { EditIntegerKeyPress(sender, key); });
    }
    // Setting a radio button runs its click handler, as a click does; the
    // buttons clear each other.
    connect(RadioButtonKcal, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonKcalClick();
    });
    connect(RadioButtonJoule, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioButtonJouleClick();
    });

    buildScale();
}

void TFormMain1::BerechneNormEnergie()
{
    goals::PersonalData data;
    data.geschlecht = ComboBoxGeschlecht->currentIndex();
    data.alter = ComboBoxAlter->currentIndex();
    data.beruf = ComboBoxBeruf->currentIndex();
    data.hoehe = ComboBoxHoehe->currentIndex();
    data.gewicht = ComboBoxGewicht->currentIndex();
    const std::optional<goals::Recommendation> r = goals::recommend(data);
    if (!r) {
        for (QLabel* l : {LabelEnergie1, LabelEnergie1cal, LabelEnergie2, LabelEnergie2cal, LabelProtein1,
                          LabelProtein2, LabelKohlenh1, LabelKohlenh2, LabelFett1, LabelFett2})
            l->setText(kDash);
        return;
    }
    NormGewicht = r->normGewicht;
    LabelEnergie1->setText(QString::number(r->atNormal.kj));
    LabelEnergie1cal->setText(QString::number(r->atNormal.kcal));
    LabelProtein1->setText(r->atNormal.protein);
    LabelKohlenh1->setText(r->atNormal.kohlenh);
    LabelFett1->setText(r->atNormal.fett);
    LabelEnergie2->setText(QString::number(r->atDesired.kj));
    LabelEnergie2cal->setText(QString::number(r->atDesired.kcal));
    LabelProtein2->setText(r->atDesired.protein);
    LabelKohlenh2->setText(r->atDesired.kohlenh);
    LabelFett2->setText(r->atDesired.fett);
}

void TFormMain1::ComboBoxZieleClick(QComboBox* sender)
{
    BerechneNormEnergie();
    if (sender == ComboBoxHoehe || sender == ComboBoxGeschlecht)
        ZeichneWaage();
    StatistikVeraltet = true;
}

void TFormMain1::EditZieleChange()
{
    if (isVisible())
        ZeichneBalken();
    StatistikVeraltet = true;
}

void TFormMain1::EditIntegerKeyPress(QLineEdit*, QChar& key)
{
    key = numbers::integerKey(key);
}

void TFormMain1::RadioButtonKcalClick()
{
    switchDisplayUnit(true);
}

void TFormMain1::RadioButtonJouleClick()
{
    switchDisplayUnit(false);
}

void TFormMain1::switchDisplayUnit(bool kcal)
{
    if (!isVisible())
        return;
    AnzeigeKcal = kcal;
    platform::runAction(this, [this] {
        ZeichneSchilder();
        SchreibeFTBListe();
        SchreibeNTBListe();
        StatistikVeraltet = true;
    });
}

void TFormMain1::showGoalUnits()
{
    LabelZiele7->setText(energyCaption(AnzeigeKcal));
    for (QWidget* w : std::initializer_list<QWidget*>{LabelEnergie1cal, LabelEnergie2cal, EditEnergieCal})
        w->setVisible(AnzeigeKcal);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelEnergie1, LabelEnergie2, EditEnergie})
        w->setVisible(!AnzeigeKcal);
    if (!isVisible())
        return;
    if (AnzeigeKcal)
        EditEnergieCal->setText(units::kcalGoalAtSwitch(EditEnergie->text()));
    else
        EditEnergie->setText(units::kjGoalAtSwitch(EditEnergieCal->text()));
}
