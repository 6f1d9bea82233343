// The food folder: the catalogue list, the quantity symbols dragged onto the
// day list, the day list and the waste bin.

#include "controls/action.h"
#include "controls/platform.h"
#include "controls/stringgrid.h"
#include "diary/rules/booking.h"
#include "diary/rules/diary.h"
#include "diary/rules/numbers.h"
#include "main/diary/rules/bookingpanel.h"
#include "main/draw/pictures/symbols.h"
#include "main/panels.h"
#include "main/zeb6.h"

#include <QButtonGroup>
#include <QLabel>
#include <QToolButton>

void TFormMain1::buildFoodFolder()
{
    auto* panel = new MousePanel(PanelNahrung);
    PanelNTB = panel;
    PanelNTB->setGeometry(199, 4, 350, 539);
    PanelNTB->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    StringGridNTB = new StringGrid(PanelNTB, 7, true);
    StringGridNTB->setObjectName(QStringLiteral("StringGridNTB"));
    StringGridNTB->setGeometry(54, 4, 292, 530);
    new RowDragStarter(StringGridNTB);

    for (int k = 1; k <= 11; ++k) {
        auto* holder = new QWidget(PanelNTB);
        holder->setGeometry(booking::kSymbolLeft, booking::symbolHomeTop(k), 30, 42);
        // Presses fall through to the booking panel.
        holder->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* picture = new QLabel(holder);
        picture->setPixmap(symbols::quantityStrip(k));
        picture->setGeometry(100, 0, 90, 41);
        PanelNDrag[k] = holder;
        ImageNDrag[k] = picture;
    }

    auto* bin = new DropPanel(PanelNTB);
    PanelNahrungDelete = bin;
    PanelNahrungDelete->setGeometry(10, 489, 45, 40);
    ImageNEimerZu = new QLabel(PanelNahrungDelete);
    ImageNEimerZu->setPixmap(symbols::bin(false));
    ImageNEimerZu->setGeometry(6, 4, 32, 32);
    ImageNEimerAuf = new QLabel(PanelNahrungDelete);
    ImageNEimerAuf->setPixmap(symbols::bin(true));
    ImageNEimerAuf->setGeometry(6, 4, 32, 32);
    ImageNEimerAuf->hide();

    panel->onPress = [this](Qt::MouseButton b, QPoint p) { PanelNTBMouseDown(b, p.x(), p.y()); };
    panel->onMove = [this](Qt::MouseButton, QPoint p) { PanelNTBMouseMove(p.x(), p.y()); };
    panel->onRelease = [this](Qt::MouseButton b, QPoint p) { PanelNTBMouseUp(b, p.x(), p.y()); };
    bin->onEnter = [this](QObject* source) { return PanelNahrungDeleteDragOver(source); };
    bin->onLeave = [this] {
        ImageNEimerAuf->hide();
        ImageNEimerZu->show();
    };
    bin->onDrop = [this](QObject* source) { PanelNahrungDeleteDragDrop(source); };

    for (int k = 1; k <= 16; ++k)
        connect(SpeedButtonN[k], &QToolButton::clicked, this, [this, k] { ListeNahrungClick(k); });
    connect(StringGridNRG, &QTableWidget::currentCellChanged, this, [this] { StringGridNRGClick(); });
}

void TFormMain1::ListeNahrungClick(int category)
{
    platform::runAction(this, [this, category] {
        NahrungKategorie = category;
        Dbf_NRG.refresh();
        SchreibeNahrungListe();
        WechselDragBildArt();
    });
}

void TFormMain1::StringGridNRGClick()
{
    WechselDragBildArt();
}

void TFormMain1::WechselDragBildArt()
{
    const int row = StringGridNRG->selectedRow();
    qint64 unit = 0;
    numbers::parseInteger(StringGridNRG->cell(1, row), unit);
    DragBildArt = units::quantityKind(unit);
    for (int k = 1; k <= 11; ++k)
        ImageNDrag[k]->move(booking::frameLeft(DragBildArt), 0);
    nameSymbols();
}

void TFormMain1::PanelNTBMouseDown(Qt::MouseButton button, int x, int y)
{
    if (DragBildArt == units::NoQuantity)
        return;
    if (button != Qt::LeftButton || x < booking::kPressLeft || x > booking::kPressRight) {
        DragSymbol = 0;
        DragFaktor = 0;
        return;
    }
    DragSymbol = booking::symbolAt(x, y);
    DragFaktor = booking::symbolFactor(DragSymbol, DragBildArt);
    if (DragSymbol > 0)
        PanelNDrag[DragSymbol]->raise();
}

void TFormMain1::PanelNTBMouseMove(int x, int y)
{
    if (DragSymbol == 0 || DragBildArt == units::NoQuantity)
        return;
    if (booking::outsideMargin(x, y, PanelNTB->width(), PanelNTB->height())) {
        DragResetNahrung();
        return;
    }
    PanelNDrag[DragSymbol]->raise();
    PanelNDrag[DragSymbol]->move(x - 15, y - 21);
}

void TFormMain1::PanelNTBMouseUp(Qt::MouseButton, int x, int y)
{
    if (DragBildArt == units::NoQuantity)
        return;
    if (DragSymbol != 0 && booking::inDropArea(x, y, PanelNTB->width(), PanelNTB->height()))
        bookDraggedFood();
    DragResetNahrung();
    DragSymbol = 0;
}

void TFormMain1::bookDraggedFood()
{
    platform::runAction(this, [this]() -> Checked<> {
        const int rowsBefore = StringGridNTB->rowCount();
        Checked<> booked = Passed{};
        bookOrRevert(Dbf_NTB, [&] {
            booked = SchreibeNTBDaten();
            if (booked)
                SchreibeZEB_NTB_Daten();
        });
        if (!booked)
            return booked;
        SchreibeNTBListe();
        if (StringGridNTB->rowCount() == rowsBefore) {
            const QString name = StringGridNRG->cell(0, StringGridNRG->selectedRow());
            StringGridNTB->selectGridRow(StringGridNTB->lastRowWith(2, name, rowsBefore));
        }
        return Passed{};
    });
}

void TFormMain1::bookFoodSymbol(int k)
{
    if (DragBildArt == units::NoQuantity || k < 1 || k > 11)
        return;
    DragSymbol = k;
    DragFaktor = booking::symbolFactor(k, DragBildArt);
    bookDraggedFood();
    DragResetNahrung();
    DragSymbol = 0;
}

void TFormMain1::DragResetNahrung()
{
    for (int k = 1; k <= 11; ++k)
        PanelNDrag[k]->move(booking::kSymbolLeft, booking::symbolHomeTop(k));
}

Checked<> TFormMain1::SchreibeNTBDaten()
{
    const int row = StringGridNRG->selectedRow();
    const Checked<booking::FoodRow> food = booking::readFoodRow(
        StringGridNRG->cell(0, row),
        {StringGridNRG->cell(1, row), StringGridNRG->cell(2, row), StringGridNRG->cell(3, row),
         StringGridNRG->cell(4, row), StringGridNRG->cell(5, row)});
    if (!food)
        return Checked<>::refused(food.message());

    std::optional<booking::Entry> existing;
    const bool found = Dbf_NTB.locate("NTBNAME", food->name, {true, false});
    if (found) {
        existing = booking::Entry{Dbf_NTB.fieldDouble("NTBMENGE"), Dbf_NTB.fieldText("NTBME"),
                                  Dbf_NTB.fieldText("NTBNAME"),    Dbf_NTB.fieldInt("NTBENERGIE"),
                                  Dbf_NTB.fieldInt("NTBPROTEIN"),  Dbf_NTB.fieldInt("NTBKOHLENH"),
                                  Dbf_NTB.fieldInt("NTBFETT")};
    }
    const booking::Entry entry = booking::bookedEntry(*food, DragBildArt, DragFaktor, existing);
    if (found)
        Dbf_NTB.edit();
    else
        Dbf_NTB.insert();
    Dbf_NTB.postFields(booking::entryFields(filterDay(), entry));
    platform::MessageBeep(platform::Sound::Information);
    return Passed{};
}

void TFormMain1::SchreibeNTBListe()
{
    StringGridNTB->setRowCount(2);
    for (int c = 0; c < 7; ++c)
        StringGridNTB->setCell(c, 1, QString());
    StringGridNTB->setCell(2, 1, diary::kPlaceholder);
    int row = 1;
    for (Dbf_NTB.first(); !Dbf_NTB.eof(); Dbf_NTB.next(), ++row) {
        StringGridNTB->setRowCount(row + 1);
        StringGridNTB->setCell(0, row, numbers::shortest(Dbf_NTB.fieldDouble("NTBMENGE")));
        StringGridNTB->setCell(1, row, Dbf_NTB.fieldText("NTBME"));
        StringGridNTB->setCell(2, row, Dbf_NTB.fieldText("NTBNAME"));
        StringGridNTB->setCell(
            3, row, QString::number(units::energyShown(Dbf_NTB.fieldInt("NTBENERGIE"), AnzeigeKcal)));
        StringGridNTB->setCell(4, row, QString::number(Dbf_NTB.fieldInt("NTBPROTEIN")));
        StringGridNTB->setCell(5, row, QString::number(Dbf_NTB.fieldInt("NTBKOHLENH")));
        StringGridNTB->setCell(6, row, QString::number(Dbf_NTB.fieldInt("NTBFETT")));
    }
    StringGridNTB->selectGridRow(StringGridNTB->rowCount() - 1);
}

bool TFormMain1::PanelNahrungDeleteDragOver(QObject* source)
{
    const bool accept = qobject_cast<StringGrid*>(source) && !StringGridNTB->cell(0, 1).isEmpty();
    if (accept) {
        ImageNEimerZu->hide();
        ImageNEimerAuf->show();
    }
    return accept;
}

void TFormMain1::PanelNahrungDeleteDragDrop(QObject* source)
{
    if (!qobject_cast<StringGrid*>(source))
        return;
    platform::runAction(this, [this] {
        const QString name = StringGridNTB->cell(2, StringGridNTB->selectedRow());
        bookOrRevert(Dbf_NTB, [&] {
            if (Dbf_NTB.locate("NTBNAME", name, {true, false}))
                Dbf_NTB.deleteRecord();
            SchreibeZEB_NTB_Daten();
        });
        SchreibeNTBListe();
        platform::MessageBeep(platform::Sound::DefaultBeep);
    });
}
