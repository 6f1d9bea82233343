// The controls of the goals folder: personal data, the user's goals and the
// display unit.

#include "main/zeb6.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

QComboBox* comboBox(QWidget* parent, int x, int y, int width, const QStringList& items)
{
    auto* box = new QComboBox(parent);
    box->setGeometry(x, y, width, 22);
    box->addItems(items);
    box->setMaxVisibleItems(20);
    box->setCurrentIndex(0);
    return box;
}

QLineEdit* goalEdit(QWidget* parent, int x, int y, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, y, 50, 21);
    edit->setMaxLength(maxLength);
    edit->setAlignment(Qt::AlignRight);
    edit->setText(QStringLiteral("0"));
    return edit;
}

void label(QWidget* parent, int x, int y, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
}

} // namespace

void TFormMain1::buildGoals()
{
    label(PanelZiele, 24, 44, QStringLiteral("Geschlecht :"));
    label(PanelZiele, 24, 74, QStringLiteral("Lebensalter :"));
    label(PanelZiele, 24, 104, QStringLiteral("Tätigkeit :"));
    label(PanelZiele, 24, 134, QStringLiteral("Körperhöhe :"));
    label(PanelZiele, 24, 164, QStringLiteral("Mein Ziel :"));
    ComboBoxGeschlecht = comboBox(PanelZiele, 130, 40, 120, {"?", "männlich", "weiblich"});
    ComboBoxAlter = comboBox(PanelZiele, 130, 70, 120,
                             {"?", "10 ... 18 Jahre", "19 ... 30 Jahre", "31 ... 60 Jahre", "über 60 Jahre"});
    ComboBoxBeruf = comboBox(PanelZiele, 130, 100, 270,
                             {"?", "Leichte Arbeit (z.B. Bürokraft)", "Mittelschwere Arbeit (z.B. Verkäufer/in)",
                              "Schwere Arbeit (z.B. Maurer)", "Sehr schwere Arbeit (z.B. Bergmann)"});
    ComboBoxHoehe = comboBox(PanelZiele, 130, 130, 120, {"?"});
    ComboBoxGewicht = comboBox(PanelZiele, 130, 160, 120, {"?"});

    label(PanelZiele, 24, 300, QStringLiteral("Meine Ziele :"));
    EditEnergie = goalEdit(PanelZiele, 130, 296, 5);
    EditEnergieCal = goalEdit(PanelZiele, 130, 296, 4);
    EditEnergieCal->hide();
    EditFett = goalEdit(PanelZiele, 190, 296, 3);
    EditProtein = goalEdit(PanelZiele, 250, 296, 3);
    EditKohlenh = goalEdit(PanelZiele, 310, 296, 3);

    RadioButtonKcal = new QRadioButton(QStringLiteral("Energieangabe in kcal"), PanelZiele);
    RadioButtonKcal->setGeometry(24, 480, 200, 20);
    RadioButtonJoule = new QRadioButton(QStringLiteral("Energieangabe in Joule"), PanelZiele);
    RadioButtonJoule->setGeometry(24, 502, 200, 20);
    RadioButtonJoule->setChecked(true);
}
