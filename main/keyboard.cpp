// The main window from the keyboard alone: the folder shortcuts, booking
// from a catalogue list, deleting from a day list, the program buttons, the
// category groups and the order in which Tab walks the controls.

#include "controls/accessibility.h"
#include "controls/stringgrid.h"
#include "diary/rules/numbers.h"
#include "main/draw/picture.h"
#include "main/panels.h"
#include "main/rules/spoken.h"
#include "main/zeb6.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>
#include <memory>

namespace {

// Hands the key presses of a widget to a handler, which returns true for a
// key it took; a request for the context menu from the keyboard (the menu
// key or Shift+F10) goes to `menu`, when there is one.
class KeyHook : public QObject
{
public:
    using Keys = std::function<bool(const QKeyEvent&)>;
    KeyHook(QWidget* widget, Keys keys, std::function<void()> menu = {})
        : QObject(widget), m_keys(std::move(keys)), m_menu(std::move(menu))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            const bool menuKey = key.key() == Qt::Key_Menu ||
                                 (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
            if (m_menu && menuKey) {
                m_menu();
                return true;
            }
            return m_keys && m_keys(key);
        }
        if (event->type() == QEvent::ContextMenu && m_menu &&
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
            m_menu();
            return true;
        }
        return false;
    }

private:
    Keys m_keys;
    std::function<void()> m_menu;
};

bool plain(const QKeyEvent& key)
{
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool isEnter(const QKeyEvent& key)
{
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && plain(key);
}

// A button that answers Enter as it answers Space.
void answerEnter(QAbstractButton* button)
{
    new KeyHook(button, [button](const QKeyEvent& key) {
        if (!isEnter(key))
            return false;
        button->click();
        return true;
    });
}

// A button of a side-bar group takes the focus by Tab while it is down; the
// arrow keys press the next or previous button of its group, as in a group
// of radio buttons, and Enter presses it again.
void makeGroupButton(QAbstractButton* button)
{
    button->setFocusPolicy(button->isChecked() ? Qt::TabFocus : Qt::NoFocus);
    QObject::connect(button, &QAbstractButton::toggled, button,
                     [button](bool down) { button->setFocusPolicy(down ? Qt::TabFocus : Qt::NoFocus); });
    new KeyHook(button, [button](const QKeyEvent& key) {
        if (isEnter(key)) {
            button->click();
            return true;
        }
        int step = 0;
        if (key.key() == Qt::Key_Down || key.key() == Qt::Key_Right)
            step = 1;
        else if (key.key() == Qt::Key_Up || key.key() == Qt::Key_Left)
            step = -1;
        if (step == 0 || !plain(key) || !button->group())
            return false;
        const QList<QAbstractButton*> buttons = button->group()->buttons();
        const qsizetype next = buttons.indexOf(button) + step;
        if (next >= 0 && next < buttons.size()) {
            buttons[next]->click();
            buttons[next]->setFocus(Qt::TabFocusReason);
        }
        return true;
    });
}

const char* const kFolderWords[] = {"Ziele", "Notizen", "Nahrung", "Aktivität", "Statistik"};

} // namespace

std::vector<QWidget*> TFormMain1::focusChain() const
{
    std::vector<QWidget*> chain{DateTimePicker, EditTagesgewicht};
    // The category group of the open folder hangs below its tab.
    for (int k = 1; k <= 16; ++k)
        chain.push_back(SpeedButtonN[k]);
    for (int k = 1; k <= 9; ++k)
        chain.push_back(SpeedButtonA[k]);
    for (int k = 1; k <= 2; ++k)
        chain.push_back(SpeedButtonT[k]);
    for (int k = 1; k <= 7; ++k)
        chain.push_back(SpeedButtonS[k]);
    // The folders' controls in reading order; only those of the folder in
    // front show.
    chain.insert(chain.end(), {ComboBoxGeschlecht, ComboBoxAlter, ComboBoxBeruf, ComboBoxHoehe,
                               ComboBoxGewicht, EditEnergie, EditEnergieCal, EditFett, EditProtein,
                               EditKohlenh, RadioButtonKcal, RadioButtonJoule});
    chain.insert(chain.end(), {MemoNotiz, EditNotizSuche, ComboBoxNotizSuche, ButtonNotizSuche,
                               StringGridNotizSuche, MemoNotizSuche});
    chain.insert(chain.end(), {StringGridNRG, StringGridNTB, StringGridFIT, StringGridFTB});
    chain.insert(chain.end(), {BitBtnZoomYPlus, BitBtnZoomYMinus, ScrollBarStatistikY, BitBtnZoomXPlus,
                               BitBtnZoomXMinus, ScrollBarStatistikX, BitBtnGlaettenJa, BitBtnGlaettenNein});
    chain.insert(chain.end(), {SpeedButtonHilfe, SpeedButtonDruck, SpeedButtonTool, SpeedButtonEnde});
    return chain;
}

void TFormMain1::buildKeyboard()
{
    // The toolkit orders only controls that take the focus: for the order,
    // each takes it for a moment.
    const std::vector<QWidget*> chain = focusChain();
    std::vector<Qt::FocusPolicy> policies;
    for (QWidget* w : chain) {
        policies.push_back(w->focusPolicy());
        if (w->focusPolicy() == Qt::NoFocus)
            w->setFocusPolicy(Qt::TabFocus);
    }
    for (std::size_t i = 0; i + 1 < chain.size(); ++i)
        setTabOrder(chain[i], chain[i + 1]);
    for (std::size_t i = 0; i < chain.size(); ++i)
        chain[i]->setFocusPolicy(policies[i]);

    const auto shortcut = [this](const QKeySequence& keys, std::function<void()> run) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, std::move(run));
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown),
             [this] { LabelOrdnerClick(AktuellerOrdner % 5 + 1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp),
             [this] { LabelOrdnerClick((AktuellerOrdner + 3) % 5 + 1); });
    for (int k = 1; k <= 5; ++k) {
        shortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + k)),
                 [this, k] { LabelOrdnerClick(k); });
        LabelOrdner[k]->setToolTip(
            QStringLiteral("Ordner %1 (Strg+%2; Strg+Bild ab und Strg+Bild auf blättern)")
                .arg(QString::fromUtf8(kFolderWords[k - 1]))
                .arg(k));
    }
    shortcut(QKeySequence(Qt::Key_F1), [this] { SpeedButtonHilfeClick(); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { SpeedButtonDruckClick(); });

    // The program buttons and the chart's buttons take the focus by Tab (a
    // click leaves it where it is) and answer Space and Enter.
    for (QToolButton* b : {SpeedButtonHilfe, SpeedButtonDruck, SpeedButtonTool, SpeedButtonEnde,
                           BitBtnZoomXPlus, BitBtnZoomXMinus, BitBtnZoomYPlus, BitBtnZoomYMinus}) {
        b->setFocusPolicy(Qt::TabFocus);
        answerEnter(b);
    }
    // The smoothing buttons lie on one spot: the focus passes to the one
    // that takes over.
    for (const auto& pair :
         {std::pair{BitBtnGlaettenJa, BitBtnGlaettenNein}, {BitBtnGlaettenNein, BitBtnGlaettenJa}}) {
        QToolButton* b = pair.first;
        QToolButton* other = pair.second;
        b->setFocusPolicy(Qt::TabFocus);
        // Disabled, the button has passed the focus on before its click
        // handler has finished; where it had it is known at the press.
        auto hadFocus = std::make_shared<bool>(false);
        connect(b, &QToolButton::pressed, this, [b, hadFocus] { *hadFocus = b->hasFocus(); });
        connect(b, &QToolButton::clicked, this, [b, other, hadFocus] {
            if (*hadFocus && !b->isEnabled() && other->isEnabled())
                other->setFocus(Qt::TabFocusReason);
        });
        answerEnter(b);
    }
    for (QScrollBar* bar : {ScrollBarStatistikX, ScrollBarStatistikY})
        bar->setFocusPolicy(Qt::TabFocus);
    // Tab reaches the display unit at its selected button; a click still
    // gives either the focus.
    for (QRadioButton* radio : {RadioButtonKcal, RadioButtonJoule}) {
        const auto follow = [radio](bool on) {
            radio->setFocusPolicy(on ? Qt::StrongFocus : Qt::FocusPolicy(Qt::StrongFocus & ~Qt::TabFocus));
        };
        follow(radio->isChecked());
        connect(radio, &QRadioButton::toggled, radio, follow);
    }
    for (int k = 1; k <= 16; ++k)
        makeGroupButton(SpeedButtonN[k]);
    for (int k = 1; k <= 9; ++k)
        makeGroupButton(SpeedButtonA[k]);
    for (int k = 1; k <= 2; ++k)
        makeGroupButton(SpeedButtonT[k]);
    for (int k = 1; k <= 7; ++k)
        makeGroupButton(SpeedButtonS[k]);
    const auto hint = [](auto& buttons, const QString& text) {
        for (QAbstractButton* b : buttons) {
            if (b)
                b->setToolTip(text);
        }
    };
    hint(SpeedButtonN, QStringLiteral("Pfeiltasten: nächste oder vorige Kategorie"));
    hint(SpeedButtonA, QStringLiteral("Pfeiltasten: nächste oder vorige Kategorie"));
    hint(SpeedButtonT, QStringLiteral("Pfeiltasten: Schreiben oder Suchen"));
    hint(SpeedButtonS, QStringLiteral("Pfeiltasten: nächste oder vorige Datenreihe"));

    // Booking: Enter or the menu key in a catalogue list offers the symbols
    // a press could take, by their amounts; choosing one books it.
    const auto offer = [this](StringGrid* list) {
        const bool food = list == StringGridNRG;
        QStringList amounts;
        for (int k = 1; k <= 11; ++k) {
            if (food && DragBildArt != units::NoQuantity)
                amounts << spoken::quantitySymbol(k, DragBildArt);
            else if (!food && durationSymbolFree(k))
                amounts << spoken::durationSymbol(k, AktivKategorie == 0);
        }
        if (amounts.isEmpty() || findChild<QMenu*>(QStringLiteral("symbolMenu")))
            return;
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("symbolMenu"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->setAccessibleName(food ? QStringLiteral("Menge buchen") : QStringLiteral("Dauer buchen"));
        for (int k = 1; k <= amounts.size(); ++k) {
            connect(menu->addAction(amounts[k - 1]), &QAction::triggered, this,
                    [this, food, k] { food ? bookFoodSymbol(k) : bookActivitySymbol(k); });
        }
        const QRect row = list->visualItemRect(list->currentItem());
        const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
        menu->popup(list->viewport()->mapToGlobal(at));
    };
    for (StringGrid* list : {StringGridNRG, StringGridFIT}) {
        new KeyHook(
            list,
            [offer, list](const QKeyEvent& key) {
                if (!isEnter(key))
                    return false;
                offer(list);
                return true;
            },
            [offer, list] { offer(list); });
    }
    StringGridNRG->setToolTip(QStringLiteral("Eingabetaste oder Kontextmenütaste: Menge buchen"));
    StringGridFIT->setToolTip(QStringLiteral("Eingabetaste oder Kontextmenütaste: Dauer buchen"));

    // Deleting: Delete in a day list drops its selected row on the bin.
    new KeyHook(StringGridNTB, [this](const QKeyEvent& key) {
        if (key.key() != Qt::Key_Delete || !plain(key))
            return false;
        if (PanelNahrungDeleteDragOver(StringGridNTB)) {
            ImageNEimerAuf->hide();
            ImageNEimerZu->show();
            PanelNahrungDeleteDragDrop(StringGridNTB);
        }
        return true;
    });
    new KeyHook(StringGridFTB, [this](const QKeyEvent& key) {
        if (key.key() != Qt::Key_Delete || !plain(key))
            return false;
        if (PanelFitnessDeleteDragOver(StringGridFTB)) {
            ImageFEimerAuf->hide();
            ImageFEimerZu->show();
            PanelFitnessDeleteDragDrop(StringGridFTB);
        }
        return true;
    });
    for (QWidget* w : std::initializer_list<QWidget*>{StringGridNTB, StringGridFTB, PanelNahrungDelete,
                                                      PanelFitnessDelete})
        w->setToolTip(QStringLiteral("Entf in der Tagesliste: markierten Eintrag löschen"));
    DateTimePicker->setToolTip(QStringLiteral("Alt+Pfeil ab oder F4: Kalender öffnen"));
}

void TFormMain1::bringFolderToFront(int folder)
{
    QFrame* const panels[] = {PanelZiele, PanelNotiz, PanelNahrung, PanelFitness, PanelStatistik};
    QFrame* const front = panels[std::clamp(folder, 1, 5) - 1];
    const QWidget* focus = focusWidget();
    const bool focusInFolder = focus && std::any_of(std::begin(panels), std::end(panels),
                                                    [focus](QFrame* p) { return p->isAncestorOf(focus); });
    front->show();
    front->raise();
    for (QFrame* panel : panels) {
        if (panel != front)
            panel->hide();
    }
    if (focusInFolder) {
        for (QWidget* w : focusChain()) {
            if (front->isAncestorOf(w) && w->isVisibleTo(this) && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus)) {
                w->setFocus(Qt::TabFocusReason);
                break;
            }
        }
    }
    for (int k = 1; k <= 5; ++k)
        accessibility::pageTabChanged(LabelOrdner[k]);
}
