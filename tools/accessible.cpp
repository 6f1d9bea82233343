// The names a screen reader speaks for the controls of the tools window: the
// caption where a control has one, else a short German description.

#include "tools/zebtool.h"

#include "controls/accessibility.h"
#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>

namespace {

void name(QWidget* widget, const QString& text)
{
    if (widget)
        widget->setAccessibleName(text);
}

} // namespace

void TToolForm1::nameControls()
{
    accessibility::makeWindow(this);
    setAccessibleName(windowTitle());
    name(TabControlTools, QStringLiteral("Registerkarten der Tools"));

    name(ComboBoxTools1, QStringLiteral("Kategorie"));
    name(EditTools1, QStringLiteral("Bezeichnung"));
    name(EditTools2, QStringLiteral("Energie"));
    name(EditTools3, QStringLiteral("Protein in g"));
    name(EditTools4, QStringLiteral("Kohlenhydrate in g"));
    name(EditTools5, QStringLiteral("Fett in g"));
    name(ComboBoxTools2, QStringLiteral("Mengeneinheit"));
    name(StringGridTools1, QStringLiteral("Einträge der Kategorie"));

    name(ComboBoxVerwalten1, QStringLiteral("Umfang: Lücken füllen"));
    name(ComboBoxVerwalten2, QStringLiteral("Umfang: Komprimieren"));
    name(EditVerwalten1, QStringLiteral("Umfang: Löschen"));
    name(DateTimePickerVerwalten1, QStringLiteral("Lücken füllen vom"));
    name(DateTimePickerVerwalten2, QStringLiteral("Lücken füllen bis"));
    name(DateTimePickerVerwalten3, QStringLiteral("Komprimieren vom"));
    name(DateTimePickerVerwalten4, QStringLiteral("Komprimieren bis"));
    name(DateTimePickerVerwalten5, QStringLiteral("Löschen vom"));
    name(DateTimePickerVerwalten6, QStringLiteral("Löschen bis"));
}
