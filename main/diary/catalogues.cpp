// The two catalogue lists of the food and activity folders, their category
// buttons and the record filters of the catalogues.

#include "controls/stringgrid.h"
#include "diary/rules/diary.h"
#include "diary/rules/numbers.h"
#include "main/diary/rules/dailylevels.h"
#include "main/draw/pictures/pictures.h"
#include "main/panels.h"
#include "main/zeb6.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QToolButton>

namespace {

const char* const kFoodCategories[] = {"Getränke",        "Milch+Käse",    "Obst+Nüsse",   "Gemüse+Pilze",
                                       "Brot+Getreide",   "Eier+Nudeln",   "Fisch",        "Fleisch+Wurst",
                                       "Öl, Fett, Sosse", "Snacks+Süsses", "Aus der Tüte", "Aus der Dose",
                                       "Tiefgekühlt",     "Mikrowelle",    "Fastfood",     "Favoriten"};
const char* const kActivityCategories[] = {"Alltäglich",   "Haus+Garten", "Tanz+Aerobic",
                                           "Laufen+Gehen", "Rad+Skating", "Ball+Spiel",
                                           "Wasser",       "Schnee+Eis",  "Sonstiges"};

} // namespace

void TFormMain1::buildDiaryFolders()
{
    PanelOrdnerNahrung = new QFrame(PanelLinks1);
    PanelOrdnerNahrung->setGeometry(11, 171, 100, 290);
    PanelOrdnerNahrung->hide();
    auto* foodGroup = new QButtonGroup(this);
    for (int k = 1; k <= 16; ++k)
        SpeedButtonN[k] = wordButton(PanelOrdnerNahrung, 1 + 18 * (k - 1), kFoodCategories[k - 1], foodGroup);

    PanelOrdnerAktiv = new QFrame(PanelLinks1);
    PanelOrdnerAktiv->setGeometry(11, 210, 100, 162);
    PanelOrdnerAktiv->hide();
    auto* activityGroup = new QButtonGroup(this);
    for (int k = 1; k <= 9; ++k)
        SpeedButtonA[k] =
            wordButton(PanelOrdnerAktiv, 1 + 18 * (k - 1), kActivityCategories[k - 1], activityGroup);

    StringGridNRG = new StringGrid(PanelNahrung, 6, true);
    StringGridNRG->setGeometry(8, 4, 184, 532);
    StringGridFIT = new StringGrid(PanelFitness, 2, true);
    StringGridFIT->setGeometry(8, 4, 184, 532);
    buildFoodFolder();
    buildActivityFolder();
    buildNotesFolder();
}

bool TFormMain1::Dbf_NRGFilterRecord(const store::RecordRef& record) const
{
    return record.fieldInt("NRGKAT") == NahrungKategorie;
}

bool TFormMain1::Dbf_AKTFilterRecord(const store::RecordRef& record) const
{
    return record.fieldInt("AKTKAT") == AktivKategorie;
}

void TFormMain1::SchreibeNahrungListe()
{
    StringGridNRG->setRowCount(2);
    StringGridNRG->setCell(0, 1, diary::kPlaceholder);
    StringGridNRG->setCell(1, 1, QStringLiteral("0"));
    for (int c = 2; c < 6; ++c)
        StringGridNRG->setCell(c, 1, QString());
    int row = 1;
    for (Dbf_NRG.first(); !Dbf_NRG.eof(); Dbf_NRG.next(), ++row) {
        StringGridNRG->setRowCount(row + 1);
        StringGridNRG->setCell(0, row, Dbf_NRG.fieldText("NRGNAME"));
        StringGridNRG->setCell(1, row, QString::number(Dbf_NRG.fieldInt("NRGME")));
        StringGridNRG->setCell(2, row, QString::number(Dbf_NRG.fieldInt("NRGENERGIE")));
        StringGridNRG->setCell(3, row, numbers::shortest(Dbf_NRG.fieldDouble("NRGPROTEIN")));
        StringGridNRG->setCell(4, row, numbers::shortest(Dbf_NRG.fieldDouble("NRGKOHLENH")));
        StringGridNRG->setCell(5, row, numbers::shortest(Dbf_NRG.fieldDouble("NRGFETT")));
    }
    StringGridNRG->selectGridRow(1);
}

void TFormMain1::SchreibeFitnessListe()
{
    StringGridFIT->setRowCount(2);
    StringGridFIT->setCell(0, 1, diary::kPlaceholder);
    StringGridFIT->setCell(1, 1, QStringLiteral("0"));
    if (AktivKategorie != 0) {
        int row = 1;
        for (Dbf_AKT.first(); !Dbf_AKT.eof(); Dbf_AKT.next(), ++row) {
            StringGridFIT->setRowCount(row + 1);
            StringGridFIT->setCell(0, row, Dbf_AKT.fieldText("AKTNAME"));
            StringGridFIT->setCell(1, row, QString::number(Dbf_AKT.fieldInt("AKTENERGIE")));
        }
    } else {
        StringGridFIT->setRowCount(17);
        for (int i = 0; i < 16; ++i) {
            StringGridFIT->setCell(0, i + 1, QString::fromUtf8(kDailyLevels[i].text));
            StringGridFIT->setCell(1, i + 1, QString::number(kDailyLevels[i].percent));
        }
    }
    StringGridFIT->selectGridRow(1);
}
