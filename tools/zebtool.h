#pragma once

#include <QWidget>

class QPushButton;
class QFrame;
class TabControl;
class TFormMain1;

// The tools window: the catalogue editor on its first two tabs and the diary
// maintenance on the third. It works on the main window's tables and
// category globals. Closing hides it; shown again it keeps its tab.
//
// Its methods are spread over files: the shell and the catalogue editor in
// zebtool.cpp and catalogue*.cpp, the third tab in maintenancepanel.cpp.
class TToolForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TToolForm1(TFormMain1& main, QWidget* parent = nullptr);

    // ----- shell -----
    TabControl* TabControlTools = nullptr;
    QFrame* PanelToolsDatenEdit = nullptr; // tabs 0 and 1
    QFrame* PanelToolsVerwalten = nullptr; // tab 2
    QPushButton* ButtonToolsClose = nullptr;

    // The window became visible: copies the categories, presets the
    // controls and lays out the tab in front.
    void FormShow();
    // The window was closed (hidden): restores the main window's categories
    // and rebuilds its lists.
    void FormClose();
    void ButtonToolsCloseClick();
    void TabControlToolsChange();
    // Lays out the first two tabs or brings the third to front.
    void FormularAufbau();

    // ----- diary maintenance (maintenancepanel.cpp) -----
    // True from each show until a maintenance run completes.
    bool TagebuchUnveraendert = true;
    // Builds the controls of PanelToolsVerwalten; once, at construction.
    void BaueVerwaltenPanel();
    // The third tab's share of FormShow, after the categories are copied.
    void VerwaltenFormShow();
    // The third tab's share of FormClose, after the main window's lists
    // are rebuilt.
    void VerwaltenFormClose();

    // ----- catalogue editor -----
    // The main window's category globals as they were when shown.
    int NahrungKategorieAlt = 1;
    int AktivKategorieAlt = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCatalogueEditor();

    TFormMain1& m_main;
};
