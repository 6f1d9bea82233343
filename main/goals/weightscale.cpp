// The daily weight field of the right-hand panel, the scale below it and
// the body-mass index shown by a press in the scale's centre.

#include "controls/action.h"
#include "controls/keyfilter.h"
#include "controls/platform.h"
#include "diary/rules/numbers.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/scale.h"
#include "main/goals/rules/weightrules.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QScopedValueRollback>

namespace {

QString notAWeight(const QString& text)
{
    return QStringLiteral("\"%1\" ist keine gültige Gewichtsangabe.\rBitte geben Sie das Gewicht in kg ein, "
                          "zum Beispiel %2.")
        .arg(text, QLocale().toString(72.5));
}

// A click into the weight field while it shows the "0" of a day without
// weight selects it, as Tab does.
class SelectNoWeight : public QObject
{
public:
    explicit SelectNoWeight(QLineEdit* edit) : QObject(edit), m_edit(edit) { edit->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease && goals::showsNoWeight(m_edit->text()))
            m_edit->selectAll();
        return false;
    }

private:
    QLineEdit* m_edit;
};

// The field's text after its latest change, the program's included.
class ShownText : public QObject
{
public:
    explicit ShownText(QLineEdit* edit) : QObject(edit), text(edit->text())
    {
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { text = edit->text(); });
    }
    QString text;
};

} // namespace

void TFormMain1::buildScale()
{
    KeyPressFilter::install(EditTagesgewicht,
                            [this](QLineEdit* sender, QChar& key) { EditFloatKeyPress(sender, key); });
    new SelectNoWeight(EditTagesgewicht);
    // Pasted, dropped or deleted text that the day record cannot hold as
    // shown is refused, so that the stored weight is always the one shown.
    // Reported before the change itself, so the text goes back before it is
    // stored.
    auto* shown = new ShownText(EditTagesgewicht);
    connect(EditTagesgewicht, &QLineEdit::textEdited, this, [this, shown](const QString& text) {
        if (goals::weightFits(text))
            return;
        EditTagesgewicht->setText(shown->text);
        platform::showMessage(this, notAWeight(text));
    });
    connect(EditTagesgewicht, &QLineEdit::textChanged, this, &TFormMain1::EditTagesgewichtChange);
}

void TFormMain1::EditFloatKeyPress(QLineEdit* sender, QChar& key)
{
    // The first digit typed on a day without weight replaces its "0".
    if (key >= u'0' && key <= u'9' && goals::showsNoWeight(sender->text()))
        sender->selectAll();
    const bool selected = sender->hasSelectedText();
    const int start = selected ? sender->selectionStart() : sender->cursorPosition();
    const int length = selected ? sender->selectionLength() : 0;
    const QChar typed = key;
    key = goals::weightKey(typed, sender->text(), start, length);
    if (goals::weightKeyPassesLimit(typed, sender->text(), start, length))
        platform::showMessage(this, goals::weightLimitText());
}

void TFormMain1::EditTagesgewichtChange()
{
    const QString text = EditTagesgewicht->text();
    const std::optional<float> weight = goals::readWeight(text);
    if (!weight) {
        platform::showMessage(this, notAWeight(text));
        return;
    }
    const bool stored = platform::runAction(
        this,
        [this, &weight] {
            if (!m_showingStored) {
                Dbf_ZEB.edit();
                Dbf_ZEB.postFields({{"ZEBGEWICHT", static_cast<double>(goals::storableWeight(*weight))}});
            }
        },
        [this] { showStoredWeight(); });
    if (!stored)
        return;
    m_storedWeightText = text;
    ZeichneWaage();
    if (PanelOrdnerStatistik->isVisible() && shownSeries() == 1)
        redrawChart();
    else
        StatistikVeraltet = true;
}

void TFormMain1::showStoredWeight()
{
    QString stored = m_storedWeightText;
    try {
        Dbf_ZEB.refresh();
        stored = numbers::shortest(Dbf_ZEB.fieldDouble("ZEBGEWICHT"));
    } catch (const store::StoreError&) {
        // The record cannot be read now: the weight last stored stands.
    }
    const QScopedValueRollback<bool> showing(m_showingStored, true);
    EditTagesgewicht->setText(stored);
    ZeichneWaage();
}

void TFormMain1::ZeichneWaage()
{
    const float weight = goals::readWeight(EditTagesgewicht->text()).value_or(0.0f);
    const int needle =
        goals::needleFor(weight, ComboBoxGeschlecht->currentIndex(), ComboBoxHoehe->currentIndex());
    QPainter painter(&ImageRechts1->canvas());
    pictures::drawScale(painter, pictures::kScaleFace, needle, goals::needlePlace(needle));
    painter.end();
    ImageRechts1->repaintCanvas();
}
