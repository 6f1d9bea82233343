// The names a screen reader speaks for the controls of the main window: the
// caption where a control has one, else a short German description.

#include "main/zeb6.h"

#include "controls/accessibility.h"
#include "controls/stringgrid.h"
#include "main/draw/picture.h"
#include "main/panels.h"
#include "main/rules/spoken.h"
#include "store/error.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

void name(QWidget* widget, const QString& text)
{
    if (widget)
        widget->setAccessibleName(text);
}

// A word button speaks its word and what it chooses.
void nameWordButton(QToolButton* button, const QString& what)
{
    if (button)
        button->setAccessibleName(button->text() + QStringLiteral(" (") + what + u')');
}

// The caption `text` among the siblings of `field` becomes its label.
void labelBy(QWidget* field, const QString& text)
{
    for (QLabel* caption : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (caption->text() == text) {
            caption->setBuddy(field);
            return;
        }
    }
}

} // namespace

void TFormMain1::nameControls()
{
    accessibility::makeWindow(this);
    // The drawn folder tabs are page tabs, the folder in front selected.
    for (int k = 1; k <= 5; ++k)
        accessibility::makePageTab(
            LabelOrdner[k], [this, k] { return AktuellerOrdner == k; }, [this, k] { LabelOrdnerClick(k); });
    // The pictures say what they show of the current day.
    accessibility::makePicture(ImageRechts1, [this] {
        diary::DayTotals totals;
        try {
            totals = dayTotals();
        } catch (const store::StoreError&) {
            // An unreadable day record shows empty troughs.
        }
        const draw::GoalTexts goals{EditEnergie->text(), EditEnergieCal->text(), EditFett->text(),
                                    EditProtein->text(), EditKohlenh->text()};
        return spoken::weight(EditTagesgewicht->text(), ComboBoxGeschlecht->currentIndex(),
                              ComboBoxHoehe->currentIndex()) +
               QStringLiteral(". ") + spoken::dayTotals(totals, goals, AnzeigeKcal);
    });
    accessibility::makePicture(ImageStatistik1, [this] {
        double value = 0;
        try {
            value = seriesValue();
        } catch (const store::StoreError&) {
            // An unreadable day record has no value to read out.
        }
        const int series = shownSeries();
        return spoken::chartDay(SpeedButtonS[series]->text(), series, value, AnzeigeKcal, filterDay());
    });

    setAccessibleName(windowTitle());
    name(DateTimePicker, QStringLiteral("Tag des Tagebuchs"));
    name(EditTagesgewicht, QStringLiteral("Tagesgewicht in kg"));
    name(SpeedButtonHilfe, QStringLiteral("Hilfe"));
    name(SpeedButtonDruck, QStringLiteral("Drucken"));
    name(SpeedButtonTool, QStringLiteral("Tools (Werkzeuge)"));
    name(SpeedButtonEnde, QStringLiteral("Programmende"));
    name(ImageLinks1, QStringLiteral("Ordnerleiste"));
    name(ImageRechts0, QStringLiteral("Randleiste"));
    name(ImageRechts1, QStringLiteral("Waage und Tagesbalken (Klick zeigt den Wert)"));

    const char* const folders[] = {"Ziele", "Notizen", "Nahrung", "Aktivität", "Statistik"};
    for (int k = 1; k <= 5; ++k)
        name(LabelOrdner[k], QString::fromUtf8(folders[k - 1]));

    name(ComboBoxGeschlecht, QStringLiteral("Geschlecht"));
    name(ComboBoxAlter, QStringLiteral("Alter"));
    name(ComboBoxBeruf, QStringLiteral("Berufliche Tätigkeit"));
    name(ComboBoxHoehe, QStringLiteral("Körpergröße"));
    name(ComboBoxGewicht, QStringLiteral("Wunschgewicht"));
    // The combo boxes say their value; their captions label them.
    LabelZiele1->setBuddy(ComboBoxGeschlecht);
    LabelZiele2->setBuddy(ComboBoxAlter);
    LabelZiele3->setBuddy(ComboBoxBeruf);
    LabelZiele4->setBuddy(ComboBoxHoehe);
    labelBy(ComboBoxGewicht, QStringLiteral("Mein Ziel :"));
    labelBy(ComboBoxNotizSuche, QStringLiteral("Zeitraum:"));
    labelBy(EditNotizSuche, QStringLiteral("Suchtext:"));
    name(EditEnergie, QStringLiteral("Ziel Energie in kJ"));
    name(EditEnergieCal, QStringLiteral("Ziel Energie in kcal"));
    name(EditFett, QStringLiteral("Ziel Fett in g"));
    name(EditProtein, QStringLiteral("Ziel Protein in g"));
    name(EditKohlenh, QStringLiteral("Ziel Kohlenhydrate in g"));
    name(RadioButtonKcal, RadioButtonKcal ? RadioButtonKcal->text() : QString());
    name(RadioButtonJoule, RadioButtonJoule ? RadioButtonJoule->text() : QString());

    for (int k = 1; k <= 16; ++k)
        nameWordButton(SpeedButtonN[k], QStringLiteral("Kategorie Nahrungsmittel"));
    for (int k = 1; k <= 9; ++k)
        nameWordButton(SpeedButtonA[k], QStringLiteral("Kategorie Tätigkeiten"));
    for (int k = 1; k <= 2; ++k)
        nameWordButton(SpeedButtonT[k], QStringLiteral("Notizen"));
    for (int k = 1; k <= 7; ++k)
        nameWordButton(SpeedButtonS[k], QStringLiteral("Statistik"));

    name(StringGridNRG, QStringLiteral("Nahrungsmittel-Katalog"));
    name(StringGridNTB, QStringLiteral("Nahrungsmittel des Tages"));
    name(PanelNTB, QStringLiteral("Buchung Nahrung: Mengensymbol auf die Tagesliste ziehen"));
    name(PanelNahrungDelete, QStringLiteral("Mülleimer Nahrung"));

    name(StringGridFIT, QStringLiteral("Tätigkeiten-Katalog"));
    name(StringGridFTB, QStringLiteral("Aktivitäten des Tages"));
    name(PanelFTB, QStringLiteral("Buchung Aktivität: Zeitsymbol auf die Tagesliste ziehen"));
    name(PanelDragAktiv, QStringLiteral("Zeitsymbole gesperrt"));
    name(PanelDragAktivLeer, QStringLiteral("Zeitsymbole gesperrt"));
    name(PanelFitnessDelete, QStringLiteral("Mülleimer Aktivität"));

    name(MemoNotiz, QStringLiteral("Notiz des Tages"));
    name(EditNotizSuche, QStringLiteral("Suchtext"));
    name(ComboBoxNotizSuche, QStringLiteral("Zeitraum der Suche"));
    name(ButtonNotizSuche, QStringLiteral("Suche starten"));
    name(ProgressBarNotizSuche, QStringLiteral("Fortschritt der Suche"));
    name(StringGridNotizSuche, QStringLiteral("Fundstellen"));
    name(MemoNotizSuche, QStringLiteral("Notiz der Fundstelle"));

    name(ImageStatistik1, QStringLiteral("Statistik-Diagramm (Klick zeigt den Wert)"));
    name(ScrollBarStatistikX, QStringLiteral("Zeitachse verschieben"));
    name(ScrollBarStatistikY, QStringLiteral("Werteachse verschieben"));
    name(BitBtnZoomXPlus, QStringLiteral("Zeitachse vergrößern"));
    name(BitBtnZoomXMinus, QStringLiteral("Zeitachse verkleinern"));
    name(BitBtnZoomYPlus, QStringLiteral("Werteachse vergrößern"));
    name(BitBtnZoomYMinus, QStringLiteral("Werteachse verkleinern"));
    name(BitBtnGlaettenJa, QStringLiteral("Glätten ein"));
    name(BitBtnGlaettenNein, QStringLiteral("Glätten aus"));
}

void TFormMain1::nameSymbols()
{
    // A symbol says the amount it books; a symbol that cannot be pressed
    // says so.
    for (int k = 1; k <= 11; ++k) {
        const QString amount = spoken::quantitySymbol(k, DragBildArt);
        name(PanelNDrag[k], amount.isEmpty() ? QStringLiteral("leeres Mengensymbol") : amount);
        const QString minutes = spoken::durationSymbol(k, AktivKategorie == 0);
        name(PanelFDrag[k], durationSymbolFree(k) ? minutes : minutes + QStringLiteral(" (gesperrt)"));
    }
}
