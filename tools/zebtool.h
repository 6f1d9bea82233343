#pragma once

#include "store/value.h"
#include "tools/rules/catalogrules.h"
#include "tools/rules/maintenance.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class StringGrid;
class TabControl;
class TFormMain1;
namespace store {
class Table;
}

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
    void buildMaintenancePanel();
    // The third tab's share of FormShow, after the categories are copied.
    void presetMaintenancePanel();
    // The third tab's share of FormClose, after the main window's lists
    // are rebuilt.
    void maintenancePanelClosed();

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
    // A user's change of a picker: moved into the second ... the last day
    // of the diary.
    void DateTimePickerVerwaltenChange(QDateEdit* sender);
    // The start and the end of a run. The runs read the days they visit
    // straight from the tables (store::TableDraft::dayRecords), so the day
    // filters of the food diary, activity diary and daily summary stay on
    // throughout: DBFilterAufheben has nothing to do, and DBFilterSetzen
    // refreshes the three tables in that order, so that the main window's
    // views show its day as the run left it.
    void DBFilterAufheben();
    void DBFilterSetzen();

    // ----- catalogue editor (catalogue.cpp) -----
    // The main window's category globals as they were when shown.
    int NahrungKategorieAlt = 1;
    int AktivKategorieAlt = 0;

    QComboBox* ComboBoxTools1 = nullptr; // category, items 0 ... 23
    QFrame* PanelToolInsert = nullptr;
    QLineEdit* EditTools1 = nullptr; // name
    QLineEdit* EditTools2 = nullptr; // energy, whole number
    QLabel* LabelTools3 = nullptr;
    QLabel* LabelTools7 = nullptr;    // energy unit
    QFrame* PanelToolsHide = nullptr; // food only
    QLabel* LabelTools1 = nullptr;
    QLabel* LabelTools2 = nullptr;
    QLabel* LabelTools4 = nullptr;
    QLabel* LabelTools5 = nullptr;
    QLabel* LabelTools6 = nullptr;
    QLabel* LabelTools8 = nullptr; // nutrient units
    QLabel* LabelTools9 = nullptr;
    QLabel* LabelTools10 = nullptr;
    QLineEdit* EditTools3 = nullptr;     // protein
    QLineEdit* EditTools4 = nullptr;     // carbohydrate
    QLineEdit* EditTools5 = nullptr;     // fat
    QComboBox* ComboBoxTools2 = nullptr; // reference unit: g, ml, pieces
    QPushButton* ButtonToolsClear = nullptr;
    QPushButton* ButtonToolsDelete = nullptr;
    QPushButton* ButtonToolsInsert = nullptr;
    QPushButton* ButtonToolsEdit = nullptr;
    StringGrid* StringGridTools1 = nullptr;

    void ComboBoxTools1Change();
    void ComboBoxTools2Change();
    void ButtonToolsClearClick();
    // The selected row changed, or a row was clicked: loads it.
    void StringGridTools1Click();
    // Fills the list from the chosen category, selecting row 1 without
    // loading it. Sets the main window's category global of its catalogue.
    void SchreibeDatenTabelle();
    void LabelSchreiben();
    void FelderLeeren();
    // Copies the selected row into the fields (on the second tab).
    void FelderSchreiben();
    void EditFloatKeyPress(QLineEdit* sender, QChar& key);
    void EditFloatChange(QLineEdit* sender);
    // Insert, change and delete. Refusals are messages and write nothing.
    void ButtonToolsInsertClick();
    void ButtonToolsEditClick();
    void ButtonToolsDeleteClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildCatalogueEditor();
    // Gives every control a German name for screen readers.
    void nameControls();
    // FormularAufbau for the first two tabs.
    void layOutCatalogueEditor();
    // Runs a user action; a table error ends it with its message.
    void guarded(const std::function<void()>& action);
    bool activityChosen() const;
    store::Table& catalogue();
    const char* nameField() const;
    // The name as the catalogue will hold it.
    QString enteredName() const;
    // The fields as a row, empty number fields set to "0"; a refusal is
    // shown and gives nothing.
    std::optional<catalogrules::Row> checkedRow(const QString& name, const QString& refusal);
    bool nameInCategory(const QString& name);
    store::Fields rowValues(const catalogrules::Row& row) const;

    bool m_fillingList = false;

    // A run on the tables, returning its result message or its refusal.
    using VerwaltenSchritt = std::function<Checked<QString>(maintenance::DiaryTables, QDate first, QDate last,
                                                            const maintenance::Progress& progress)>;
    // The confirmation question of a run over a period.
    using MaintenanceQuestion = QString (*)(QDate first, QDate last);
    // The frame common to the three runs.
    void runMaintenance(QDateEdit* firstPicker, QDateEdit* lastPicker, MaintenanceQuestion question,
                        const VerwaltenSchritt& run);
    QDateEdit* datePicker(int x, int y);

    TFormMain1& m_main;
};
