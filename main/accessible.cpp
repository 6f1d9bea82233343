// The names a screen reader speaks for the controls of the main window: the
// caption where a control has one, else a short German description.

#include "main/zeb6.h"

#include "main/draw/picture.h"
#include "main/panels.h"
#include "main/stringgrid.h"

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

} // namespace

void TFormMain1::nameControls()
{
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
        name(LabelOrdner[k], QStringLiteral("Ordner %1").arg(QString::fromUtf8(folders[k - 1])));

    name(ComboBoxGeschlecht, QStringLiteral("Geschlecht"));
    name(ComboBoxAlter, QStringLiteral("Alter"));
    name(ComboBoxBeruf, QStringLiteral("Berufliche Tätigkeit"));
    name(ComboBoxHoehe, QStringLiteral("Körpergröße"));
    name(ComboBoxGewicht, QStringLiteral("Wunschgewicht"));
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
    for (int k = 1; k <= 11; ++k)
        name(PanelNDrag[k], QStringLiteral("Mengensymbol %1").arg(k));
    name(PanelNahrungDelete, QStringLiteral("Mülleimer Nahrung"));

    name(StringGridFIT, QStringLiteral("Tätigkeiten-Katalog"));
    name(StringGridFTB, QStringLiteral("Aktivitäten des Tages"));
    name(PanelFTB, QStringLiteral("Buchung Aktivität: Zeitsymbol auf die Tagesliste ziehen"));
    for (int k = 1; k <= 11; ++k)
        name(PanelFDrag[k], QStringLiteral("Zeitsymbol %1").arg(k));
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
