#include "tools/zebtool.h"

#include "controls/action.h"
#include "controls/platform.h"
#include "controls/tabcontrol.h"
#include "main/zeb6.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QShowEvent>

namespace {

QFont arial(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QFrame* tabPanel(QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setGeometry(4, 28, 589, 317);
    panel->setFrameStyle(QFrame::NoFrame);
    panel->setAutoFillBackground(true);
    return panel;
}

} // namespace

TToolForm1::TToolForm1(TFormMain1& main, QWidget* parent) : QWidget(parent, Qt::Window), m_main(main)
{
    platform::makeFixedWindow(*this, QStringLiteral("Tools für Kelvara [1.02f]"), QSize(610, 398));
    setFont(arial(false));

    TabControlTools = new TabControl(this);
    TabControlTools->setFont(arial(true));
    TabControlTools->setGeometry(6, 6, 599, 351);
    TabControlTools->setTabs({QStringLiteral(" Daten einfügen "), QStringLiteral(" Daten ändern/löschen "),
                              QStringLiteral(" Tagebuch verwalten ")});
    connect(TabControlTools, &TabControl::changed, this, &TToolForm1::TabControlToolsChange);

    PanelToolsDatenEdit = tabPanel(TabControlTools);
    PanelToolsDatenEdit->setFont(arial(false));
    PanelToolsVerwalten = tabPanel(TabControlTools);
    PanelToolsVerwalten->setFont(arial(false));

    ButtonToolsClose = new QPushButton(QStringLiteral("Fenster schließen !"), this);
    ButtonToolsClose->setFont(arial(true));
    ButtonToolsClose->setGeometry(188, 365, 218, 27);
    connect(ButtonToolsClose, &QPushButton::clicked, this, &TToolForm1::ButtonToolsCloseClick);

    buildCatalogueEditor();
    buildMaintenancePanel();
    nameControls();
    PanelToolsDatenEdit->raise();
    PanelToolsVerwalten->setEnabled(false);
}

void TToolForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A window restored from the task bar is not shown anew.
    if (!event->spontaneous())
        FormShow();
}

void TToolForm1::closeEvent(QCloseEvent* event)
{
    if (isVisible())
        FormClose();
    event->accept();
}

void TToolForm1::ButtonToolsCloseClick()
{
    close();
}

void TToolForm1::TabControlToolsChange()
{
    guarded([this] { FormularAufbau(); });
}

void TToolForm1::FormShow()
{
    TagebuchUnveraendert = true;
    NahrungKategorieAlt = m_main.NahrungKategorie;
    AktivKategorieAlt = m_main.AktivKategorie;
    presetMaintenancePanel();
    ComboBoxTools2->setCurrentIndex(0);
    ComboBoxTools1->setCurrentIndex(catalogrules::preselectedItem(
        m_main.AktuellerOrdner, m_main.NahrungKategorie, m_main.AktivKategorie));
    guarded([this] { FormularAufbau(); });
}

void TToolForm1::FormClose()
{
    platform::runAction(this, [this] {
        m_main.NahrungKategorie = NahrungKategorieAlt;
        m_main.Dbf_NRG.refresh();
        m_main.SchreibeNahrungListe();
        m_main.AktivKategorie = AktivKategorieAlt;
        m_main.Dbf_AKT.refresh();
        m_main.SchreibeFitnessListe();
        m_main.SchreibeFTBListe();
        m_main.SchreibeNTBListe();
        // The booking symbols follow the selected entry, which may have
        // changed its unit or vanished.
        m_main.WechselDragBildArt();
        m_main.WechselDragAktivBild();
        maintenancePanelClosed();
    });
}

void TToolForm1::FormularAufbau()
{
    if (TabControlTools->currentIndex() == 2) {
        PanelToolsVerwalten->raise();
        PanelToolsVerwalten->setEnabled(true);
        PanelToolsDatenEdit->setEnabled(false);
        return;
    }
    PanelToolsDatenEdit->raise();
    PanelToolsDatenEdit->setEnabled(true);
    PanelToolsVerwalten->setEnabled(false);
    layOutCatalogueEditor();
}
