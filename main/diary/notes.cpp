// The notes folder: the day's note, stored on every change, and the search
// through the notes of a period.

#include "controls/action.h"
#include "controls/keyfilter.h"
#include "controls/platform.h"
#include "controls/stringgrid.h"
#include "diary/rules/notetext.h"
#include "diary/rules/numbers.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "store/codepage.h"
#include "store/error.h"
#include "store/schema.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScopedValueRollback>
#include <QPushButton>

namespace {

// The code page of the note's text fields.
const store::CodePage kNotePage =
    store::schema::xtb().fields[store::schema::xtb().fieldPosition("XTBTEXT1")].codePage;

QLabel* captionBar(QWidget* parent, int x, int y, const QString& caption)
{
    auto* bar = new QLabel(caption, parent);
    bar->setGeometry(x, y, 532, 18);
    bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bar->setAlignment(Qt::AlignCenter);
    bar->setAutoFillBackground(true);
    return bar;
}

QFont noteFont(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

} // namespace

void TFormMain1::buildNotesFolder()
{
    PanelNotizBackground = new QFrame(PanelNotiz);
    PanelNotizBackground->setGeometry(8, 8, 537, 531);
    PanelNotizBackground->setFrameStyle(QFrame::Box | QFrame::Sunken);
    PanelNotizenCaption = captionBar(PanelNotizBackground, 0, 0, QStringLiteral("Tagebuch-Notizen"));
    LabelNotizAnzahl = new QLabel(PanelNotizenCaption);
    LabelNotizAnzahl->setGeometry(400, 1, 126, 16);
    LabelNotizAnzahl->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MemoNotiz = new LimitedTextEdit(PanelNotizBackground, notetext::kMaxLength, kNotePage);
    MemoNotiz->setGeometry(0, 19, 533, 508);
    MemoNotiz->setFont(noteFont(false));
    MemoNotiz->setFrameStyle(QFrame::NoFrame);
    MemoNotiz->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(MemoNotiz, &QPlainTextEdit::textChanged, this, &TFormMain1::MemoNotizChange);

    PanelNotizSuche = new QFrame(PanelNotiz);
    PanelNotizSuche->setGeometry(8, 8, 537, 531);
    PanelNotizSuche->hide();
    captionBar(PanelNotizSuche, 0, 0, QStringLiteral("Suchabfrage"));
    auto* query = new QFrame(PanelNotizSuche);
    query->setGeometry(0, 19, 532, 45);
    query->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* searchLabel = new QLabel(QStringLiteral("Suchtext:"), query);
    searchLabel->setGeometry(12, 14, 62, 16);
    EditNotizSuche = new QLineEdit(query);
    EditNotizSuche->setGeometry(76, 10, 153, 24);
    EditNotizSuche->setFont(noteFont(true));
    // The search text is fitted as the notes are, so that "9 €" finds the
    // "9 EUR" the editor stored.
    EntryGuard::install(EditNotizSuche, 20, kNotePage);
    auto* periodLabel = new QLabel(QStringLiteral("Zeitraum:"), query);
    periodLabel->setGeometry(245, 14, 62, 16);
    ComboBoxNotizSuche = new QComboBox(query);
    ComboBoxNotizSuche->setGeometry(309, 10, 137, 24);
    ComboBoxNotizSuche->addItems({QStringLiteral("letzte 7 Tage "), QStringLiteral("letzte 30 Tage"),
                                  QStringLiteral("letzte 90 Tage"), QStringLiteral("letzte 180 Tage"),
                                  QStringLiteral("letzte 360 Tage"), QStringLiteral("beliebig")});
    ButtonNotizSuche = new QPushButton(QStringLiteral("Start"), query);
    ButtonNotizSuche->setGeometry(460, 10, 65, 24);
    ProgressBarNotizSuche = new QProgressBar(query);
    ProgressBarNotizSuche->setGeometry(310, 11, 135, 22);
    ProgressBarNotizSuche->setTextVisible(false);
    ProgressBarNotizSuche->hide();

    StringGridNotizSuche = new StringGrid(PanelNotizSuche, 2, false);
    StringGridNotizSuche->setGeometry(0, 65, 533, 100);
    // Its columns fit beside the scroll bar only when the excerpts give way.
    StringGridNotizSuche->fitColumnToView(1);
    captionBar(PanelNotizSuche, 0, 165, QStringLiteral("Tagebuch-Notizen"));
    MemoNotizSuche = new QPlainTextEdit(PanelNotizSuche);
    MemoNotizSuche->setGeometry(0, 184, 533, 342);
    MemoNotizSuche->setReadOnly(true);
    MemoNotizSuche->setFont(noteFont(false));
    MemoNotizSuche->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    connect(EditNotizSuche, &QLineEdit::textChanged, this, &TFormMain1::EditNotizSucheChange);
    connect(ComboBoxNotizSuche, &QComboBox::currentIndexChanged, this, &TFormMain1::EditNotizSucheChange);
    connect(EditNotizSuche, &QLineEdit::returnPressed, this, &TFormMain1::ButtonNotizSucheClick);
    connect(ButtonNotizSuche, &QPushButton::clicked, this, &TFormMain1::ButtonNotizSucheClick);
    connect(StringGridNotizSuche, &QTableWidget::currentCellChanged, this,
            &TFormMain1::StringGridNotizSucheClick);
    StringGridNotizSuche->setCell(0, 0, QStringLiteral("-"));
    StringGridNotizSuche->setCell(1, 0, QStringLiteral("-"));
}

void TFormMain1::ListeNotizClick(bool writing)
{
    PanelNotizBackground->setVisible(writing);
    PanelNotizSuche->setVisible(!writing);
}

std::optional<QString> TFormMain1::noteOf(QDate day)
{
    if (!Dbf_XTB.locate("XTBDATUM", day))
        return std::nullopt;
    QStringList parts;
    for (const char* field : notetext::kPartFields)
        parts << Dbf_XTB.fieldText(field);
    return notetext::join(parts);
}

void TFormMain1::SchreibeXTBNotiz()
{
    const std::optional<QString> note = noteOf(filterDay());
    const QString text = notetext::editorForm(note.value_or(QString()));
    if (MemoNotiz->toPlainText() != text)
        MemoNotiz->setPlainText(text);
}

void TFormMain1::MemoNotizChange()
{
    LabelNotizAnzahl->setText(
        QStringLiteral("%1/2000").arg(notetext::storedLength(MemoNotiz->toPlainText())));
    if (m_showingStored)
        return;
    // After a failed write the editor shows the stored note again, as every
    // field shows the stored value after a refused change: the next key must
    // not write the refused text over it.
    platform::runAction(
        this, [this] { SchreibeXTBDaten(); },
        [this] {
            const QScopedValueRollback<bool> showing(m_showingStored, true);
            Dbf_XTB.refresh();
            SchreibeXTBNotiz();
        });
}

void TFormMain1::SchreibeXTBDaten()
{
    const QDate day = filterDay();
    if (Dbf_XTB.locate("XTBDATUM", day))
        Dbf_XTB.edit();
    else
        Dbf_XTB.insert();
    store::Fields values{{"XTBDATUM", day}, {"XTBKAT", qint64(0)}};
    // The editor fits its input to the code page; text that reached it some
    // other way is fitted here, so that a save never fails on a character.
    const QString text = store::fitToCodePage(MemoNotiz->toPlainText(), kNotePage);
    const QStringList parts = notetext::split(notetext::storedForm(text));
    for (int i = 0; i < notetext::kParts; ++i)
        values.push_back({notetext::kPartFields[i], parts[i]});
    Dbf_XTB.postFields(values);
}

void TFormMain1::EditNotizSucheChange()
{
    StringGridNotizSuche->setRowCount(1);
    StringGridNotizSuche->setCell(0, 0, QStringLiteral("-"));
    StringGridNotizSuche->setCell(1, 0, QStringLiteral("-"));
    MemoNotizSuche->clear();
}

void TFormMain1::ButtonNotizSucheClick()
{
    const QString wanted = EditNotizSuche->text();
    if (wanted.size() < 2) {
        EditNotizSuche->clear();
        EditNotizSuche->setFocus();
        return;
    }
    platform::runAction(this, [this, &wanted] {
        StringGridNotizSuche->setRowCount(1);
        StringGridNotizSuche->setCell(0, 0, QStringLiteral("-"));
        StringGridNotizSuche->setCell(1, 0, QStringLiteral("Keine Einträge gefunden !"));
        MemoNotizSuche->clear();
        const QDate today = filterDay();
        const int days = notetext::periodDays(ComboBoxNotizSuche->currentIndex(), today, m_range.first);
        if (days > 30) {
            ProgressBarNotizSuche->setRange(0, days);
            ProgressBarNotizSuche->show();
        }
        int hits = 0;
        for (int n = days; n >= 0; --n) {
            ProgressBarNotizSuche->setValue(days - n);
            const std::optional<QString> note = noteOf(today.addDays(-n));
            const qsizetype at = note ? note->indexOf(wanted) : -1;
            if (at < 0)
                continue;
            StringGridNotizSuche->setRowCount(++hits);
            StringGridNotizSuche->setCell(0, hits - 1,
                                          today.addDays(-n).toString(numbers::shortDateFormat()));
            StringGridNotizSuche->setCell(1, hits - 1, notetext::excerpt(*note, static_cast<int>(at)));
        }
        if (StringGridNotizSuche->cell(0, 0) != u"-") {
            const QDate first =
                QDate::fromString(StringGridNotizSuche->cell(0, 0), numbers::shortDateFormat());
            MemoNotizSuche->setPlainText(notetext::editorForm(noteOf(first).value_or(QString())));
        }
    });
    ProgressBarNotizSuche->hide();
}

void TFormMain1::StringGridNotizSucheClick()
{
    if (StringGridNotizSuche->cell(0, 0) == u"-")
        return;
    platform::runAction(this, [this] {
        const QDate day = QDate::fromString(
            StringGridNotizSuche->cell(0, StringGridNotizSuche->selectedRow()), numbers::shortDateFormat());
        MemoNotizSuche->setPlainText(notetext::editorForm(noteOf(day).value_or(QString())));
    });
}
