// The activity folder: the catalogue or daily list, the duration symbols
// dragged onto the day list, the day list and the waste bin.

#include "controls/action.h"
#include "controls/platform.h"
#include "controls/stringgrid.h"
#include "diary/rules/activity.h"
#include "diary/rules/numbers.h"
#include "main/diary/rules/bookingpanel.h"
#include "main/draw/pictures/symbols.h"
#include "main/goals/rules/energymodel.h"
#include "main/panels.h"
#include "main/zeb6.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

constexpr int kCoverActive = 4;
constexpr int kCoverAway = -60;

} // namespace

void TFormMain1::buildActivityFolder()
{
    auto* panel = new MousePanel(PanelFitness);
    PanelFTB = panel;
    PanelFTB->setGeometry(199, 4, 350, 539);
    PanelFTB->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    StringGridFTB = new StringGrid(PanelFTB, 3, true);
    StringGridFTB->setObjectName(QStringLiteral("StringGridFTB"));
    StringGridFTB->setGeometry(54, 4, 292, 530);
    // Its columns fit beside the scroll bar only when the names give way.
    StringGridFTB->fitColumnToView(1);
    new RowDragStarter(StringGridFTB);

    for (int k = 1; k <= 11; ++k) {
        auto* holder = new QWidget(PanelFTB);
        holder->setGeometry(booking::kSymbolLeft, booking::symbolHomeTop(k), 30, 41);
        holder->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* picture = new QLabel(holder);
        const QPixmap pixmap = symbols::durationPicture(k);
        picture->setPixmap(pixmap);
        picture->setGeometry(0, 0, pixmap.width(), 41);
        PanelFDrag[k] = holder;
        ImageFDrag[k] = picture;
    }

    // The covers take the presses where no drag may start.
    PanelDragAktiv = new MousePanel(PanelFTB);
    PanelDragAktiv->setGeometry(kCoverAway, 52, 49, 438);
    PanelDragAktivLeer = new MousePanel(PanelFTB);
    PanelDragAktivLeer->setGeometry(kCoverAway, 8, 49, 481);
    for (QFrame* cover : {PanelDragAktiv, PanelDragAktivLeer})
        cover->setAutoFillBackground(true);

    auto* bin = new DropPanel(PanelFTB);
    PanelFitnessDelete = bin;
    PanelFitnessDelete->setGeometry(10, 489, 45, 40);
    ImageFEimerZu = new QLabel(PanelFitnessDelete);
    ImageFEimerZu->setPixmap(symbols::bin(false));
    ImageFEimerZu->setGeometry(6, 4, 32, 32);
    ImageFEimerAuf = new QLabel(PanelFitnessDelete);
    ImageFEimerAuf->setPixmap(symbols::bin(true));
    ImageFEimerAuf->setGeometry(6, 4, 32, 32);
    ImageFEimerAuf->hide();

    panel->onPress = [this](Qt::MouseButton b, QPoint p) { PanelFTBMouseDown(b, p.x(), p.y()); };
    panel->onMove = [this](Qt::MouseButton, QPoint p) { PanelFTBMouseMove(p.x(), p.y()); };
    panel->onRelease = [this](Qt::MouseButton b, QPoint p) { PanelFTBMouseUp(b, p.x(), p.y()); };
    bin->onEnter = [this](QObject* source) { return PanelFitnessDeleteDragOver(source); };
    bin->onLeave = [this] {
        ImageFEimerAuf->hide();
        ImageFEimerZu->show();
    };
    bin->onDrop = [this](QObject* source) { PanelFitnessDeleteDragDrop(source); };

    for (int k = 1; k <= 9; ++k)
        connect(SpeedButtonA[k], &QToolButton::clicked, this, [this, k] { ListeAktivClick(k); });
}

void TFormMain1::ListeAktivClick(int button)
{
    platform::runAction(this, [this, button] {
        AktivKategorie = button == 1 ? 0 : button;
        Dbf_AKT.refresh();
        SchreibeFitnessListe();
        WechselDragAktivBild();
    });
}

void TFormMain1::WechselDragAktivBild()
{
    if (AktivKategorie == 0) {
        ImageFDrag[1]->move(-30, 0);
        PanelDragAktivLeer->move(kCoverAway, PanelDragAktivLeer->y());
        PanelDragAktiv->move(kCoverActive, PanelDragAktiv->y());
        PanelDragAktiv->raise();
    } else if (StringGridFIT->cell(0, 1) != diary::kPlaceholder) {
        ImageFDrag[1]->move(0, 0);
        PanelDragAktiv->move(kCoverAway, PanelDragAktiv->y());
        PanelDragAktivLeer->move(kCoverAway, PanelDragAktivLeer->y());
    } else {
        PanelDragAktivLeer->move(kCoverActive, PanelDragAktivLeer->y());
        PanelDragAktivLeer->raise();
    }
    nameSymbols();
}

void TFormMain1::PanelFTBMouseDown(Qt::MouseButton button, int x, int y)
{
    const int k = button == Qt::LeftButton ? activity::symbolAt(x, y) : 0;
    DragSymbol = k;
    DragFaktor = activity::kSymbolMinutes[k];
    if (k > 0)
        PanelFDrag[k]->raise();
}

void TFormMain1::PanelFTBMouseMove(int x, int y)
{
    if (DragSymbol == 0)
        return;
    if (booking::outsideMargin(x, y, PanelFTB->width(), PanelFTB->height())) {
        DragResetFitness();
        return;
    }
    PanelFDrag[DragSymbol]->raise();
    PanelFDrag[DragSymbol]->move(x - 15, y - 21);
}

void TFormMain1::PanelFTBMouseUp(Qt::MouseButton, int x, int y)
{
    if (DragSymbol != 0 && booking::inDropArea(x, y, PanelFTB->width(), PanelFTB->height()))
        bookDraggedActivity();
    DragResetFitness();
    DragSymbol = 0;
}

void TFormMain1::bookDraggedActivity()
{
    platform::runAction(this, [this]() -> Checked<> {
        const int rowsBefore = StringGridFTB->rowCount();
        Checked<> booked = Passed{};
        // A refused booking rewrites the day's total and list all the same.
        bookOrRevert(Dbf_FTB, [&] {
            booked = SchreibeFTBDaten();
            SchreibeZEB_FTB_Daten();
        });
        SchreibeFTBListe();
        if (StringGridFTB->rowCount() == rowsBefore) {
            const QString name = StringGridFIT->cell(0, StringGridFIT->selectedRow());
            StringGridFTB->selectGridRow(StringGridFTB->lastRowWith(1, name, rowsBefore));
        }
        return booked;
    });
}

bool TFormMain1::durationSymbolFree(int k) const
{
    // The covers in place keep out the symbols below them.
    const bool allCovered = PanelDragAktivLeer->x() == kCoverActive;
    const bool othersCovered = PanelDragAktiv->x() == kCoverActive;
    return k >= 1 && k <= 11 && !allCovered && !(othersCovered && k > 1);
}

void TFormMain1::bookActivitySymbol(int k)
{
    if (!durationSymbolFree(k))
        return;
    DragSymbol = k;
    DragFaktor = activity::kSymbolMinutes[k];
    bookDraggedActivity();
    DragResetFitness();
    DragSymbol = 0;
}

void TFormMain1::DragResetFitness()
{
    for (int k = 1; k <= 11; ++k)
        PanelFDrag[k]->move(booking::kSymbolLeft, booking::symbolHomeTop(k));
}

Checked<> TFormMain1::SchreibeFTBDaten()
{
    if (EditTagesgewicht->text().isEmpty())
        EditTagesgewicht->setText(QStringLiteral("0"));
    const Checked<int> kg = activity::bookingWeight(EditTagesgewicht->text());
    if (!kg)
        return Checked<>::refused(kg.message());
    const int row = StringGridFIT->selectedRow();
    const QString name = StringGridFIT->cell(0, row);
    const QString listValue = StringGridFIT->cell(1, row);
    const Checked<double> value = activity::readListValue(name, listValue);
    if (!value)
        return Checked<>::refused(value.message());
    if (AktivKategorie != 0) {
        const qint64 energy = activity::energy(*value, *kg, DragFaktor);
        std::optional<activity::Entry> existing;
        const bool found = Dbf_FTB.locate("FTBNAME", name, {true, false});
        if (found)
            existing = activity::Entry{static_cast<int>(Dbf_FTB.fieldInt("FTBMENGE")),
                                       Dbf_FTB.fieldInt("FTBENERGIE")};
        const activity::Entry entry = activity::summed(static_cast<int>(DragFaktor), energy, existing);
        if (found)
            Dbf_FTB.edit();
        else
            Dbf_FTB.insert();
        Dbf_FTB.postFields(activity::entryFields(filterDay(), name, entry));
        platform::MessageBeep(platform::Sound::Information);
        return Passed{};
    }

    const Checked<goals::BasalCoefficients> c =
        goals::dailyCoefficients(ComboBoxGeschlecht->currentIndex(), ComboBoxAlter->currentIndex());
    if (!c)
        return Checked<>::refused(c.message());
    QStringList dayEntries;
    for (Dbf_FTB.first(); !Dbf_FTB.eof(); Dbf_FTB.next())
        dayEntries << Dbf_FTB.fieldText("FTBNAME");
    if (const Checked<> second = activity::checkSecondDaily(dayEntries); !second)
        return second;
    // The daily list's value is the whole percentage of the basal rate.
    const int percent = static_cast<int>(*value);
    Dbf_FTB.insert();
    Dbf_FTB.postFields(
        activity::entryFields(filterDay(), activity::dailyName(listValue),
                              {activity::kDayMinutes, activity::dailyEnergy(percent, *kg, c->a, c->b)}));
    platform::MessageBeep(platform::Sound::Information);
    return Passed{};
}

void TFormMain1::SchreibeFTBListe()
{
    StringGridFTB->setRowCount(2);
    for (int c = 0; c < 3; ++c)
        StringGridFTB->setCell(c, 1, QString());
    StringGridFTB->setCell(1, 1, diary::kPlaceholder);
    int row = 1;
    for (Dbf_FTB.first(); !Dbf_FTB.eof(); Dbf_FTB.next(), ++row) {
        StringGridFTB->setRowCount(row + 1);
        StringGridFTB->setCell(0, row, QString::number(Dbf_FTB.fieldInt("FTBMENGE")));
        StringGridFTB->setCell(1, row, Dbf_FTB.fieldText("FTBNAME"));
        StringGridFTB->setCell(
            2, row, QString::number(units::energyShown(Dbf_FTB.fieldInt("FTBENERGIE"), AnzeigeKcal)));
    }
    StringGridFTB->selectGridRow(StringGridFTB->rowCount() - 1);
}

bool TFormMain1::PanelFitnessDeleteDragOver(QObject* source)
{
    const bool accept = qobject_cast<StringGrid*>(source) && !StringGridFTB->cell(0, 1).isEmpty();
    if (accept) {
        ImageFEimerZu->hide();
        ImageFEimerAuf->show();
    }
    return accept;
}

void TFormMain1::PanelFitnessDeleteDragDrop(QObject* source)
{
    if (!qobject_cast<StringGrid*>(source))
        return;
    platform::runAction(this, [this] {
        const QString name = StringGridFTB->cell(1, StringGridFTB->selectedRow());
        bookOrRevert(Dbf_FTB, [&] {
            if (Dbf_FTB.locate("FTBNAME", name, {true, false}))
                Dbf_FTB.deleteRecord();
            SchreibeZEB_FTB_Daten();
        });
        SchreibeFTBListe();
        platform::MessageBeep(platform::Sound::DefaultBeep);
    });
}
