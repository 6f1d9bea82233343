#pragma once

#include "diary/rules/checked.h"
#include "diary/rules/diary.h"
#include "diary/rules/settings.h"
#include "main/draw/pictures/imagelist.h"
#include "main/draw/rules/barlengths.h"
#include "store/table.h"

#include <QDate>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class DropPanel;
class MousePanel;
class LimitedTextEdit;
class QAbstractButton;
class QPlainTextEdit;
class QProgressBar;
class QScrollBar;
class QPushButton;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class ClickLabel;
class QLineEdit;
class QRadioButton;
class QScrollBar;
class QToolButton;
class Picture;
class StringGrid;
namespace print {
struct Content;
}

// The main window: the day selector and folder tabs on the left, the five
// folders in the middle, the weight, signs and the four program buttons on
// the right. It owns the seven tables of the diary in its working folder.
//
// Its methods are spread over the files of the subsystems: start-up and
// shutdown in startup.cpp, the goals in goals/, the diary folders in
// diary/, the drawn folders, signs and bars in draw/.
class TFormMain1 : public QWidget
{
    Q_OBJECT
public:
    // Builds the window and runs FormCreate on the diary in `dir` (the
    // working folder). The help and tools windows are created after it and
    // handed over with setSideWindows.
    // Tests hand in a file system that fails or crashes at a chosen call.
    explicit TFormMain1(const QString& dir, store::FileSystem& fs = store::posixFileSystem());
    ~TFormMain1() override;

    // The help and tools windows, as plain windows: the help and tools
    // buttons show them, and this window's activation by the user closes
    // the tools window.
    void setSideWindows(QWidget* help, QWidget* tools);

    // The days of the diary, read from its daily summary at start-up; the
    // one place every part of the program takes them from.
    const diary::Range& range() const;

private:
    diary::Range m_range; // before ErstesDatum, which names its first day

public:
    // ----- state of the window (unit globals) -----
    bool StartFehler = false;
    int AktuellerOrdner = 1;
    // The date of the first day record, the origin of the chart: the
    // diary's first day.
    const QDate& ErstesDatum = m_range.first;
    int NahrungKategorie = 1;
    int AktivKategorie = 0;
    int StatistikArt = 1;
    int ZoomStufeX = 1;
    std::array<int, 4> ScrollPosX{0, 104, 104, 104};       // per time-axis level 1 ... 3
    std::array<int, 8> ZoomStufeY{0, 2, 2, 2, 2, 2, 2, 2}; // per series 1 ... 7
    std::array<int, 4> ScrollPosY{0, 61, 61, 61};          // per weight-axis level 1 ... 3
    int Glaetten = 0;
    bool AnzeigeKcal = false;
    bool StatistikVeraltet = true;
    int NormGewicht = 0;

private:
    store::FileSystem& m_fs; // before the tables, which use it

public:
    // ----- tables -----
    store::Table Dbf_NRG{store::schema::nrg(), m_fs};
    store::Table Dbf_AKT{store::schema::akt(), m_fs};
    store::Table Dbf_NTB{store::schema::ntb(), m_fs};
    store::Table Dbf_FTB{store::schema::ftb(), m_fs};
    store::Table Dbf_ZEB{store::schema::zeb(), m_fs};
    store::Table Dbf_XTB{store::schema::xtb(), m_fs};
    store::Table Dbf_REG{store::schema::reg(), m_fs};

    // ----- frame -----
    QFrame* PanelLinks1 = nullptr;
    QFrame* PanelRechts1 = nullptr;
    QFrame* PanelZiele = nullptr;
    QFrame* PanelNotiz = nullptr;
    QFrame* PanelNahrung = nullptr;
    QFrame* PanelFitness = nullptr;
    QFrame* PanelStatistik = nullptr;
    QLabel* ImageOben1 = nullptr;
    QLabel* ImageUnten1 = nullptr;
    QToolButton* SpeedButtonHilfe = nullptr;
    QToolButton* SpeedButtonDruck = nullptr;
    QToolButton* SpeedButtonTool = nullptr;
    QToolButton* SpeedButtonEnde = nullptr;

    // ----- day selector and weight -----
    QDateEdit* DateTimePicker = nullptr;
    QLineEdit* EditTagesgewicht = nullptr;

    // ----- goals folder -----
    QFrame* PanelZiele1 = nullptr; // personal data
    QFrame* PanelZiele2 = nullptr; // recommendations and goals
    QFrame* PanelZiele3 = nullptr; // display unit
    QComboBox* ComboBoxGeschlecht = nullptr;
    QComboBox* ComboBoxAlter = nullptr;
    QComboBox* ComboBoxBeruf = nullptr;
    QComboBox* ComboBoxHoehe = nullptr;
    QComboBox* ComboBoxGewicht = nullptr;
    QLabel* LabelZiele1 = nullptr; // captions of the personal data
    QLabel* LabelZiele2 = nullptr;
    QLabel* LabelZiele3 = nullptr;
    QLabel* LabelZiele4 = nullptr;
    QLabel* LabelZiele7 = nullptr; // captions of the result rows
    QLabel* LabelZiele8 = nullptr;
    QLabel* LabelZiele9 = nullptr;
    QLabel* LabelZiele6 = nullptr;
    QLabel* LabelEnergie1 = nullptr;
    QLabel* LabelEnergie1cal = nullptr;
    QLabel* LabelEnergie2 = nullptr;
    QLabel* LabelEnergie2cal = nullptr;
    QLabel* LabelFett1 = nullptr;
    QLabel* LabelProtein1 = nullptr;
    QLabel* LabelKohlenh1 = nullptr;
    QLabel* LabelFett2 = nullptr;
    QLabel* LabelProtein2 = nullptr;
    QLabel* LabelKohlenh2 = nullptr;
    QLineEdit* EditEnergie = nullptr;
    QLineEdit* EditEnergieCal = nullptr;
    QLineEdit* EditFett = nullptr;
    QLineEdit* EditProtein = nullptr;
    QLineEdit* EditKohlenh = nullptr;
    QRadioButton* RadioButtonKcal = nullptr;
    QRadioButton* RadioButtonJoule = nullptr;

    // Normal weight and recommendations from the personal data; " - " in
    // every result label while a datum is missing.
    void BerechneNormEnergie();
    // A user's choice in one of the five combo boxes.
    void ComboBoxZieleClick(QComboBox* sender);
    // A change of one of the five goal edits.
    void EditZieleChange();
    // Typed characters of the goal edits: digits and backspace only.
    void EditIntegerKeyPress(QLineEdit* sender, QChar& key);
    // The display unit; both do nothing while the window is not visible.
    void RadioButtonKcalClick();
    void RadioButtonJouleClick();
    // The goals folder follows AnzeigeKcal: the caption of the energy row,
    // which energy labels and which goal edit show, and, while the window
    // is visible, the energy goal converted into the other edit.
    void showGoalUnits();

    // ----- daily weight and scale -----
    // The scale is drawn in ImageRechts1 below the weight field.

    // Typed characters of EditTagesgewicht: digits, backspace and one
    // decimal separator, never first.
    void EditFloatKeyPress(QLineEdit* sender, QChar& key);
    // Stores the weight of EditTagesgewicht in the current day record
    // (ZEBGEWICHT only) and redraws the scale. A text that is not a number
    // is refused with a message and stores nothing.
    void EditTagesgewichtChange();
    // Draws the scale for the weight field and the personal data.
    void ZeichneWaage();
    // After a refused or failed write: the weight field and the scale show
    // the day record's weight again, read anew (the weight last stored when
    // the record cannot be read).
    void showStoredWeight();

    // ----- diary folders -----
    QFrame* PanelOrdnerNahrung = nullptr;
    QFrame* PanelOrdnerAktiv = nullptr;
    std::array<QToolButton*, 17> SpeedButtonN{}; // 1 ... 16
    std::array<QToolButton*, 10> SpeedButtonA{}; // 1 ... 9
    StringGrid* StringGridNRG = nullptr;
    StringGrid* StringGridNTB = nullptr;
    StringGrid* StringGridFIT = nullptr;
    StringGrid* StringGridFTB = nullptr;

    // ----- food folder -----
    QFrame* PanelNTB = nullptr;
    std::array<QWidget*, 12> PanelNDrag{}; // 1 ... 11: the symbol holders
    std::array<QLabel*, 12> ImageNDrag{};  // their picture strips
    QFrame* PanelNahrungDelete = nullptr;
    QLabel* ImageNEimerZu = nullptr;
    QLabel* ImageNEimerAuf = nullptr;
    int DragSymbol = 0;    // the symbol being dragged, 0 = none
    double DragFaktor = 0; // its factor (minutes in the activity folder)
    int DragBildArt = 0;   // quantity kind of the selected food, 0 = none

    void ListeNahrungClick(int category);
    void StringGridNRGClick();
    void WechselDragBildArt();
    void PanelNTBMouseDown(Qt::MouseButton button, int x, int y);
    void PanelNTBMouseMove(int x, int y);
    void PanelNTBMouseUp(Qt::MouseButton button, int x, int y);
    void DragResetNahrung();
    // Books the dragged symbol for the selected food on the current day;
    // refused, with nothing written, when its catalogue row holds no
    // number.
    Checked<> SchreibeNTBDaten();
    void SchreibeNTBListe();
    bool PanelNahrungDeleteDragOver(QObject* source);
    void PanelNahrungDeleteDragDrop(QObject* source);

    // ----- activity folder -----
    QFrame* PanelFTB = nullptr;
    std::array<QWidget*, 12> PanelFDrag{}; // 1 ... 11: the symbol holders
    std::array<QLabel*, 12> ImageFDrag{};  // their pictures
    QFrame* PanelDragAktiv = nullptr;      // covers symbols 2 ... 11
    QFrame* PanelDragAktivLeer = nullptr;  // covers all symbols
    QFrame* PanelFitnessDelete = nullptr;
    QLabel* ImageFEimerZu = nullptr;
    QLabel* ImageFEimerAuf = nullptr;

    void ListeAktivClick(int button);
    void WechselDragAktivBild();
    void PanelFTBMouseDown(Qt::MouseButton button, int x, int y);
    void PanelFTBMouseMove(int x, int y);
    void PanelFTBMouseUp(Qt::MouseButton button, int x, int y);
    void DragResetFitness();
    // Books the dragged duration for the selected activity on the current
    // day; refused, with nothing written, without a day's weight of 40 ...
    // 150 kg, a number in the list row, or (for the daily list) the sex and
    // age, or beside an entry that holds the whole day already.
    Checked<> SchreibeFTBDaten();
    void SchreibeFTBListe();
    bool PanelFitnessDeleteDragOver(QObject* source);
    void PanelFitnessDeleteDragDrop(QObject* source);

    // ----- notes folder -----
    QFrame* PanelNotizBackground = nullptr;
    QLabel* PanelNotizenCaption = nullptr;
    QLabel* LabelNotizAnzahl = nullptr;
    LimitedTextEdit* MemoNotiz = nullptr;
    QFrame* PanelNotizSuche = nullptr;
    QLineEdit* EditNotizSuche = nullptr;
    QComboBox* ComboBoxNotizSuche = nullptr;
    QPushButton* ButtonNotizSuche = nullptr;
    QProgressBar* ProgressBarNotizSuche = nullptr;
    StringGrid* StringGridNotizSuche = nullptr;
    QPlainTextEdit* MemoNotizSuche = nullptr;

    // Shows the editor pane (`writing`) or the search pane.
    void ListeNotizClick(bool writing);
    void SchreibeXTBNotiz();
    void MemoNotizChange();
    void SchreibeXTBDaten();
    void EditNotizSucheChange();
    void ButtonNotizSucheClick();
    void StringGridNotizSucheClick();

    // ----- statistics folder -----
    QFrame* PanelStatistikBackground = nullptr;
    QLabel* PanelStatistikCaption = nullptr;
    Picture* ImageStatistik1 = nullptr;
    QScrollBar* ScrollBarStatistikX = nullptr;
    QScrollBar* ScrollBarStatistikY = nullptr;
    QToolButton* BitBtnZoomXPlus = nullptr;
    QToolButton* BitBtnZoomXMinus = nullptr;
    QToolButton* BitBtnZoomYPlus = nullptr;
    QToolButton* BitBtnZoomYMinus = nullptr;
    QToolButton* BitBtnGlaettenJa = nullptr;
    QToolButton* BitBtnGlaettenNein = nullptr;
    QLabel* StaticTextDatumAnzeige = nullptr;

    // Draws the chart of the current series into ImageStatistik1, or with
    // `print` onto `printCanvas` for a page of `page` device pixels.
    void ZeichneStatistik(bool print, QPainter* printCanvas = nullptr, QSize page = {});
    // ZeichneStatistik(false) as a user action: a table error is shown.
    void redrawChart();
    void ListeStatistikClick(int series);
    void BitBtnZoomXClick(bool plus);
    void BitBtnZoomYClick(bool plus);
    void ScrollBarStatistikXChange();
    void ScrollBarStatistikYChange();
    void BitBtnGlaettenClick(bool on);
    void ImageStatistik1MouseDown(Qt::MouseButton button, QPoint point);
    void ImageStatistik1MouseUp(Qt::MouseButton button, QPoint point);

    // ----- the current day and its record -----
    void DateTimePickerChange();
    // The weight of the current day record as the weight field shows it;
    // "0" when it cannot be read.
    QString dayWeightText();
    // Shows the current day again as the tables hold it (weight, scale,
    // both day lists, bars, note), writing nothing back: after the tools
    // window changed the diary underneath. Throws StoreError.
    void showStoredDay();
    // Reads the current day from the tables into the weight field, both day
    // lists, the bars and the note; the fields' change handlers run as
    // usual.
    void showDayOfTables();
    void SchreibeZEB_NTB_Daten();
    void SchreibeZEB_FTB_Daten();
    // Runs the steps of a booking or deletion in `diary` with its day
    // totals; when one fails, the change of `diary` is taken back and the
    // error passed on.
    void bookOrRevert(store::Table& diary, const std::function<void()>& steps);

    // ----- record filters -----
    bool Dbf_NRGFilterRecord(const store::RecordRef& record) const;
    bool Dbf_AKTFilterRecord(const store::RecordRef& record) const;
    // The day of the selector, against which the food diary, the activity
    // diary and the daily summary are filtered (through their day index).
    QDate filterDay() const;

    // ----- start-up and shutdown -----
    void FormCreate();
    void FormShow();
    void FormActivate();
    void FormClose();
    // Writes the settings record when what it would hold differs from what
    // was last read or written; a failure is shown. Runs after each edit of
    // a goal (Enter or leaving the field, not per keystroke), each choice of
    // personal data and each switch of the display unit, and when the
    // session manager asks the program to save.
    void saveChangedSettings();
    // After a failed write of the settings record: the goals folder shows
    // the personal data and goals the record holds, read anew (those last
    // stored when it cannot be read).
    void showStoredGoals();
    void SpeedButtonEndeClick();
    void SpeedButtonHilfeClick();
    void SpeedButtonToolClick();

    // ----- printing -----
    // Prints the folder in front for the current day on the default printer,
    // without a dialog; one click, one job. Without a printer, or when the
    // job cannot start, says so and offers to save the pages as a PDF.
    void SpeedButtonDruckClick();
    // What the printout of the folder in front shows; throws StoreError when
    // the day record is unreadable.
    print::Content printContent();

    // ----- catalogue lists -----
    void SchreibeNahrungListe();
    void SchreibeFitnessListe();

    // ----- drawn frame: folder tabs, signs and day bars -----
    // The left strip with the date caption and the folder tabs (ignores the
    // mouse; the click labels lie over it), the edge strip and the signs of
    // the right-hand panel.
    Picture* ImageLinks1 = nullptr;
    Picture* ImageRechts0 = nullptr;
    Picture* ImageRechts1 = nullptr;
    std::array<ClickLabel*, 6> LabelOrdner{}; // 1 ... 5
    QFrame* PanelOrdnerNotiz = nullptr;
    QFrame* PanelOrdnerStatistik = nullptr;
    std::array<QToolButton*, 3> SpeedButtonT{}; // 1, 2
    std::array<QToolButton*, 8> SpeedButtonS{}; // 1 ... 7
    // The bar read-out, parked at x = -100 while hidden.
    QLabel* StaticTextAnzeige = nullptr;
    QImage Image3DObjekte;
    QImage ImageBalken;
    ImageList ImageList100x30;
    ImageList ImageList96x13;
    ImageList ImageList45x45;

    // The bevel sheet; first of the drawing routines.
    void ZeichneImage3DObjekte();
    // The folder strip for AktuellerOrdner: tabs, divider, category group.
    void ZeichneOrdner();
    // Click on tab label `folder` (1 ... 5).
    void LabelOrdnerClick(int folder);
    // The caption strip, the edge pictures and the signs; then the bars.
    void ZeichneSchilder();
    // The drawing of ZeichneSchilder alone, without the display unit.
    void drawSigns();
    // Every picture of the window drawn anew, for the screen's pixel ratio
    // and the palette: after either changes.
    void redrawPictures();
    // The day bars of the current day against the goals.
    void ZeichneBalken();
    // Shows the read-out of the bar or scale centre under `point` (picture
    // coordinates, any button); releasing hides it.
    void ImageRechts1MouseDown(Qt::MouseButton button, QPoint point);
    void ImageRechts1MouseUp(Qt::MouseButton button, QPoint point);

    // ----- keyboard -----
    // Folder `folder` (1 ... 5) in front and the other four hidden, so that
    // only the controls of the folder in front take the focus and show to
    // screen readers. The focus, when it was in a folder, goes to the first
    // control of this one.
    void bringFolderToFront(int folder);
    // Books quantity symbol k (1 ... 11) for the selected food, or duration
    // symbol k for the selected activity, as dropping it on the day list
    // does; nothing where that symbol cannot be pressed.
    void bookFoodSymbol(int k);
    void bookActivitySymbol(int k);

signals:
    // The window has closed; the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildFrame();
    // Gives every control the name a screen reader speaks.
    void nameControls();
    // The names of the booking symbols: the amounts they book now.
    void nameSymbols();
    // Shortcuts, the keys of the lists and buttons, and the focus chain.
    void buildKeyboard();
    // The controls in the order Tab walks them (hidden ones are skipped).
    std::vector<QWidget*> focusChain() const;
    // The booking of the symbol in DragSymbol as its drop on the day list.
    void bookDraggedFood();
    void bookDraggedActivity();
    // True when duration symbol k is not under a cover, so a press takes it.
    bool durationSymbolFree(int k) const;
    // Every control whose state the settings record holds writes it when a
    // user's change of it is complete: a choice, a click, a finished edit
    // of a goal (Enter or leaving the field, not per keystroke), a scroll
    // bar let go. Connected after the controls' own handlers.
    void watchSettings();
    void buildGoals();
    void buildScale();
    void buildDiaryFolders();
    void buildFoodFolder();
    void buildActivityFolder();
    void buildNotesFolder();
    void buildStatistics();
    // The display-unit switch of both radio buttons; nothing while hidden.
    void switchDisplayUnit(bool kcal);
    // The chart controls brought into line with the loaded state.
    void startStatistics();
    // The series shown: StatistikArt when it is 2 ... 7, otherwise series 1
    // (the weight), whatever the settings record held.
    int shownSeries() const;
    // The raw value of the current series for the current record of the
    // unfiltered daily summary.
    double seriesValue() const;
    // The joined note of a day, or nothing when the day has none.
    std::optional<QString> noteOf(QDate day);
    void buildDrawing();
    // The picture lists and symbols for the screen's ratio and the palette.
    void makePictures();
    void drawSymbols();
    // A picture's screen has another pixel ratio: the pictures drawn anew.
    void followScreenRatio();
    void drawChartForScreen();
    // The current day record's totals; throws StoreError when unreadable.
    diary::DayTotals dayTotals() const;
    Settings currentSettings() const;
    void applySettings(const Settings& settings);
    // The settings record written from the window; throws StoreError.
    void writeSettingsRecord();
    // The exclamation sound and a start-up message with the failing file
    // and its reason as details; StartFehler is set.
    void startFailed(const QString& message, const QString& reason);
    void openDataTables();
    // Says what went wrong and saves the printout as a PDF the user names.
    void savePrintout(const print::Content& content, const QString& problem);

    QString m_dir;
    QWidget* m_help = nullptr;
    QWidget* m_tools = nullptr;
    bool m_closing = false;
    // The side window that had the focus was minimised and no window of
    // the program has been activated since: the next activation of this
    // window is the window manager's, not the user's.
    bool m_sideWindowMinimised = false;
    QWidget* m_activeWindow = nullptr; // the program's window last activated
    // While the current day is shown anew from the tables, the change
    // handlers of the weight and the note show without storing.
    bool m_showingStored = false;
    // The weight field's text last stored in, or shown from, the day record.
    QString m_storedWeightText = QStringLiteral("0");
    // The settings as the settings record holds them.
    Settings m_savedSettings;
    bool m_savingSettings = false;
};
