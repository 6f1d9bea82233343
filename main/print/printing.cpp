// The print button: the folder in front for the current day, on the default
// printer or, when there is none, as a PDF.

#include "controls/action.h"
#include "controls/platform.h"
#include "controls/stringgrid.h"
#include "main/panels.h"
#include "main/print/printout.h"
#include "main/print/rules/pdffile.h"
#include "main/print/rules/report.h"
#include "main/zeb6.h"
#include "store/error.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStandardPaths>

namespace {

template <std::size_t N> std::vector<std::array<QString, N>> gridRows(const StringGrid* grid)
{
    std::vector<std::array<QString, N>> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        std::array<QString, N> row;
        for (std::size_t c = 0; c < N; ++c)
            row[c] = grid->cell(static_cast<int>(c), r);
        rows.push_back(row);
    }
    return rows;
}

} // namespace

print::Content TFormMain1::printContent()
{
    print::Content content;
    content.folder = std::clamp(AktuellerOrdner, 1, 5);
    content.title = report::title(content.folder, DateTimePicker->date());
    switch (content.folder) {
    case 1: {
        if (ComboBoxGewicht->currentIndex() == 0)
            NormGewicht = 0;
        report::GoalSheet& g = content.goals;
        g.personCaptions = {LabelZiele1->text(), LabelZiele2->text(), LabelZiele3->text(),
                            LabelZiele4->text()};
        g.personTexts = {ComboBoxGeschlecht->currentText(), ComboBoxAlter->currentText(),
                         ComboBoxBeruf->currentText(), ComboBoxHoehe->currentText()};
        g.normGewicht = NormGewicht;
        g.wunschGewicht = ComboBoxGewicht->currentText();
        g.rows[0] = {LabelZiele7->text(), (AnzeigeKcal ? LabelEnergie1cal : LabelEnergie1)->text(),
                     (AnzeigeKcal ? LabelEnergie2cal : LabelEnergie2)->text(),
                     (AnzeigeKcal ? EditEnergieCal : EditEnergie)->text()};
        g.rows[1] = {LabelZiele8->text(), LabelFett1->text(), LabelFett2->text(), EditFett->text()};
        g.rows[2] = {LabelZiele9->text(), LabelProtein1->text(), LabelProtein2->text(), EditProtein->text()};
        g.rows[3] = {LabelZiele6->text(), LabelKohlenh1->text(), LabelKohlenh2->text(), EditKohlenh->text()};
        break;
    }
    case 2:
        content.note = MemoNotiz->toPlainText();
        break;
    case 3: {
        content.food = gridRows<7>(StringGridNTB);
        content.totals = dayTotals();
        content.kcal = AnzeigeKcal;
        break;
    }
    case 4:
        content.activities = gridRows<3>(StringGridFTB);
        content.totals = dayTotals();
        content.kcal = AnzeigeKcal;
        break;
    default:
        content.chart = [this](QPainter& painter, QSize page) { ZeichneStatistik(true, &painter, page); };
        break;
    }
    return content;
}

namespace {

// Where the save dialog starts: the documents folder, or the home folder
// when there is none. Never a relative place: the program runs in the diary
// folder, where a dialog would start otherwise.
QString pdfFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

} // namespace

void TFormMain1::savePrintout(const print::Content& content, const QString& problem)
{
    platform::showMessage(
        this, problem + QStringLiteral("\rSie können den Ausdruck stattdessen als PDF-Datei speichern."));
    const QByteArray bytes = print::pdf(content, print::defaultPdfLayout());
    QString proposed =
        QDir(pdfFolder()).filePath(report::pdfFileName(content.folder, DateTimePicker->date()));
    // Until it is saved or the user gives up: a failure offers the dialog
    // again on the file chosen.
    for (;;) {
        QString path = platform::saveFileName(this, QStringLiteral("Ausdruck als PDF speichern"), proposed,
                                              QStringLiteral("PDF-Dateien (*.pdf)"));
        if (path.isEmpty())
            return;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".pdf");
        try {
            report::writeWholeFile(path, bytes);
            return;
        } catch (const store::StoreError& e) {
            platform::showMessage(this,
                                  QStringLiteral("Der Ausdruck konnte nicht als \u201E%1\u201C gespeichert "
                                                 "werden.\r%2")
                                      .arg(QDir::toNativeSeparators(path), e.text()));
        }
        proposed = path;
    }
}

void TFormMain1::SpeedButtonDruckClick()
{
    if (AktuellerOrdner == 2 && !PanelNotizSuche->isHidden()) {
        platform::showMessage(this, report::noteSearchMessage());
        return;
    }
    platform::runAction(this, [this] {
        const print::Content content = printContent();
        QString problem;
        if (!print::onPrinter(content, problem))
            savePrintout(content, problem);
    });
}
