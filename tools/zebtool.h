#pragma once

#include "tools/maintenance.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
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

    QFrame* Bevel3 = nullptr; // fill gaps
    QFrame* Bevel4 = nullptr; // compress
    QFrame* Bevel5 = nullptr; // delete
    QLabel* LabelVerwalten11 = nullptr;
    QLabel* LabelVerwalten12 = nullptr;
    QLabel* LabelVerwalten13 = nullptr;
    QLabel* LabelVerwalten14 = nullptr;
    QLabel* LabelVerwalten15 = nullptr;
    QLabel* LabelVerwalten16 = nullptr;
    QComboBox* ComboBoxVerwalten1 = nullptr;       // scope of fill gaps
    QComboBox* ComboBoxVerwalten2 = nullptr;       // scope of compress
    QLineEdit* EditVerwalten1 = nullptr;           // the fixed scope of delete
    QDateEdit* DateTimePickerVerwalten1 = nullptr; // first and last day of fill gaps
    QDateEdit* DateTimePickerVerwalten2 = nullptr;
    QDateEdit* DateTimePickerVerwalten3 = nullptr; // of compress
    QDateEdit* DateTimePickerVerwalten4 = nullptr;
    QDateEdit* DateTimePickerVerwalten5 = nullptr; // of delete
    QDateEdit* DateTimePickerVerwalten6 = nullptr;
    QPushButton* ButtonLueckenFuellen = nullptr;
    QPushButton* ButtonKomprimieren = nullptr;
    QPushButton* ButtonAllesLoeschen = nullptr;
    QFrame* PanelWait = nullptr; // over the tab area during a run
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar = nullptr;

    // The three runs, each over its pair of pickers: refused for an invalid
    // period or one reaching today, asked for, then run behind the wait
    // panel and reported. A failure is shown; the filters are on again.
    void ButtonLueckenFuellenClick();
    void ButtonKomprimierenClick();
    void ButtonAllesLoeschenClick();
    // A user's change of a picker: moved into 2002-01-02 ... 2012-12-31.
    void DateTimePickerVerwaltenChange(QDateEdit* sender);
    // The day filters of the food diary, activity diary and daily summary
    // off, and on again with a refresh.
    void DBFilterAufheben();
    void DBFilterSetzen();

    // ----- catalogue editor -----
    // The main window's category globals as they were when shown.
    int NahrungKategorieAlt = 1;
    int AktivKategorieAlt = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCatalogueEditor();

    // A run on the tables, returning its result message.
    using VerwaltenSchritt = std::function<QString(maintenance::DiaryTables, QDate first, QDate last,
                                                   const maintenance::Progress& progress)>;
    // The frame common to the three runs.
    void VerwaltenLauf(QDateEdit* firstPicker, QDateEdit* lastPicker, const QString& question,
                       const VerwaltenSchritt& run);
    QDateEdit* datePicker(int x, int y);

    TFormMain1& m_main;
};
