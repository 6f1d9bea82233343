// The catalogue editor on the first two tabs of the tools window: inserting,
// changing and deleting the foods and activities of one category.

#include "tools/zebtool.h"

#include "controls/action.h"
#include "controls/keyfilter.h"
#include "controls/platform.h"
#include "controls/readable.h"
#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "diary/rules/numbers.h"
#include "main/zeb6.h"
#include "store/codepage.h"
#include "store/error.h"
#include "tools/rules/catalogrules.h"
#include "tools/rules/catalogwrites.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace {

using catalogrules::kPlaceholder;

constexpr int kNameLength = 30;
constexpr int kNumberLength = 5;

QLabel* label(QWidget* parent, int x, int y, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

QLineEdit* edit(QWidget* parent, int x, int y, int width, int length)
{
    auto* e = new QLineEdit(parent);
    e->setGeometry(x, y, width, 21);
    e->setMaxLength(length);
    return e;
}

QPushButton* button(QWidget* parent, int x, int y, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setGeometry(x, y, 69, 23);
    return b;
}

QChar decimalSeparator()
{
    return QLocale().decimalPoint().front();
}

QString quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

void TToolForm1::buildCatalogueEditor()
{
    QWidget* page = PanelToolsDatenEdit;

    PanelToolInsert = new QFrame(page);
    PanelToolInsert->setGeometry(1, 0, 588, 85);
    PanelToolInsert->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelToolInsert->setLineWidth(1);

    ComboBoxTools1 = new QComboBox(page);
    ComboBoxTools1->setGeometry(12, 15, 201, 21);
    ComboBoxTools1->setMaxVisibleItems(20);
    for (int item = 0; item < catalogrules::kCategoryItems; ++item)
        ComboBoxTools1->addItem(catalogrules::categoryText(item));
    connect(ComboBoxTools1, &QComboBox::activated, this,
            [this] { guarded([this] { ComboBoxTools1Change(); }); });

    EditTools1 = edit(PanelToolInsert, 12, 48, 200, kNameLength);
    LabelTools3 = label(PanelToolInsert, 216, 13, QStringLiteral("Energie"));
    LabelTools7 = label(PanelToolInsert, 216, 28, QString());
    EditTools2 = edit(PanelToolInsert, 220, 48, 48, kNumberLength);

    PanelToolsHide = new QFrame(PanelToolInsert);
    PanelToolsHide->setGeometry(273, 9, 229, 69);
    LabelTools4 = label(PanelToolsHide, 5, 4, QStringLiteral("Protein"));
    LabelTools8 = label(PanelToolsHide, 5, 19, QString());
    LabelTools5 = label(PanelToolsHide, 62, 4, QStringLiteral(" Kohlenh."));
    LabelTools9 = label(PanelToolsHide, 62, 19, QString());
    LabelTools6 = label(PanelToolsHide, 120, 4, QStringLiteral("Fett"));
    LabelTools10 = label(PanelToolsHide, 120, 19, QString());
    EditTools3 = edit(PanelToolsHide, 5, 39, 48, kNumberLength);
    EditTools4 = edit(PanelToolsHide, 62, 39, 48, kNumberLength);
    EditTools5 = edit(PanelToolsHide, 120, 39, 48, kNumberLength);
    LabelTools1 = label(PanelToolsHide, 175, 4, QStringLiteral(" Mengen-"));
    LabelTools2 = label(PanelToolsHide, 175, 19, QStringLiteral("einheit"));
    ComboBoxTools2 = new QComboBox(PanelToolsHide);
    ComboBoxTools2->setGeometry(175, 39, 46, 21);
    for (int kind : {units::Grams, units::Millilitres, units::Pieces})
        ComboBoxTools2->addItem(u' ' + units::quantityUnit(kind));
    connect(ComboBoxTools2, &QComboBox::activated, this, [this] { ComboBoxTools2Change(); });

    ButtonToolsClear = button(PanelToolInsert, 508, 15, QStringLiteral("Leeren"));
    ButtonToolsDelete = button(PanelToolInsert, 508, 15, QStringLiteral("Löschen"));
    readable::keepCaption(*ButtonToolsDelete, Qt::red);
    ButtonToolsInsert = button(PanelToolInsert, 508, 47, QStringLiteral("Einfügen"));
    ButtonToolsEdit = button(PanelToolInsert, 508, 47, QStringLiteral("Ändern"));
    connect(ButtonToolsClear, &QPushButton::clicked, this, &TToolForm1::ButtonToolsClearClick);
    connect(ButtonToolsInsert, &QPushButton::clicked, this,
            [this] { guarded([this] { ButtonToolsInsertClick(); }); });
    connect(ButtonToolsEdit, &QPushButton::clicked, this,
            [this] { guarded([this] { ButtonToolsEditClick(); }); });
    connect(ButtonToolsDelete, &QPushButton::clicked, this,
            [this] { guarded([this] { ButtonToolsDeleteClick(); }); });

    StringGridTools1 = new StringGrid(page, 6, true);
    StringGridTools1->setGeometry(12, 97, 568, 213);
    StringGridTools1->verticalHeader()->setDefaultSectionSize(18);
    StringGridTools1->horizontalHeader()->setFixedHeight(18);
    // The names take what the figures leave beside the scroll bar.
    StringGridTools1->fitColumnToView(0);
    connect(StringGridTools1, &QTableWidget::currentCellChanged, this,
            [this](int row, int, int previousRow, int) {
                if (!m_fillingList && row != previousRow)
                    StringGridTools1Click();
            });
    connect(StringGridTools1, &QTableWidget::cellClicked, this, [this] { StringGridTools1Click(); });

    // The category list lies over the frame of the input fields.
    ComboBoxTools1->raise();

    KeyPressFilter::install(EditTools2, [](QLineEdit*, QChar& key) { key = numbers::integerKey(key); });
    for (QLineEdit* e : {EditTools3, EditTools4, EditTools5}) {
        KeyPressFilter::install(e, [this](QLineEdit* sender, QChar& key) { EditFloatKeyPress(sender, key); });
        connect(e, &QLineEdit::textChanged, this, [this, e] { EditFloatChange(e); });
    }
    // What the user sees is what the catalogue can store.
    EntryGuard::install(EditTools1, kNameLength, store::CodePage::Cp850);
    moveFocusOnEnter(EditTools1, [this] { return EditTools2; });
    moveFocusOnEnter(EditTools2,
                     [this] { return PanelToolsHide->isVisibleTo(this) ? EditTools3 : EditTools1; });
    moveFocusOnEnter(EditTools3, [this] { return EditTools4; });
    moveFocusOnEnter(EditTools4, [this] { return EditTools5; });
    moveFocusOnEnter(EditTools5, [this] { return EditTools1; });

    QWidget::setTabOrder(ComboBoxTools1, EditTools1);
    QWidget::setTabOrder(EditTools1, EditTools2);
    QWidget::setTabOrder(EditTools2, EditTools3);
    QWidget::setTabOrder(EditTools3, EditTools4);
    QWidget::setTabOrder(EditTools4, EditTools5);
    QWidget::setTabOrder(EditTools5, ComboBoxTools2);
    QWidget::setTabOrder(ComboBoxTools2, ButtonToolsClear);
    QWidget::setTabOrder(ButtonToolsClear, ButtonToolsDelete);
    QWidget::setTabOrder(ButtonToolsDelete, ButtonToolsInsert);
    QWidget::setTabOrder(ButtonToolsInsert, ButtonToolsEdit);
    QWidget::setTabOrder(ButtonToolsEdit, StringGridTools1);
}

void TToolForm1::guarded(const std::function<void()>& action)
{
    platform::runAction(this, action, [this] {
        m_main.Dbf_NRG.cancel();
        m_main.Dbf_AKT.cancel();
    });
}

bool TToolForm1::activityChosen() const
{
    return catalogrules::isActivityItem(ComboBoxTools1->currentIndex());
}

store::Table& TToolForm1::catalogue()
{
    return activityChosen() ? m_main.Dbf_AKT : m_main.Dbf_NRG;
}

const char* TToolForm1::nameField() const
{
    return activityChosen() ? "AKTNAME" : "NRGNAME";
}

void TToolForm1::layOutCatalogueEditor()
{
    const bool activity = activityChosen();
    PanelToolsHide->setVisible(!activity);
    StringGridTools1->setGeometry(12, 97, activity ? 258 : 568, 213);
    const int foodWidths[] = {200, 70, 74, 70, 70, 74};
    const int activityWidths[] = {190, 63, 0, 0, 0, 0};
    for (int c = 0; c < 6; ++c)
        StringGridTools1->setColWidth(c, activity ? activityWidths[c] : foodWidths[c]);
    SchreibeDatenTabelle();
    const bool changing = TabControlTools->currentIndex() == 1;
    for (QPushButton* b : {ButtonToolsDelete, ButtonToolsEdit}) {
        b->setVisible(changing);
        b->setEnabled(changing);
    }
    for (QPushButton* b : {ButtonToolsClear, ButtonToolsInsert}) {
        b->setVisible(!changing);
        b->setEnabled(!changing);
    }
    if (changing)
        FelderSchreiben();
    else
        FelderLeeren();
    LabelSchreiben();
}

void TToolForm1::ComboBoxTools1Change()
{
    FormularAufbau();
}

void TToolForm1::ComboBoxTools2Change()
{
    LabelSchreiben();
}

void TToolForm1::ButtonToolsClearClick()
{
    FelderLeeren();
}

void TToolForm1::StringGridTools1Click()
{
    FelderSchreiben();
    LabelSchreiben();
}

void TToolForm1::SchreibeDatenTabelle()
{
    const bool kcal = m_main.AnzeigeKcal;
    const int item = ComboBoxTools1->currentIndex();
    m_fillingList = true;
    struct Reset
    {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{m_fillingList};

    StringGrid* grid = StringGridTools1;
    grid->setRowCount(2);
    const QString placeholder[] = {kPlaceholder,        QStringLiteral("-"), QStringLiteral("0"),
                                   QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    for (int c = 0; c < 6; ++c)
        grid->setCell(c, 1, placeholder[c]);
    const auto energyText = [kcal](qint64 kj) { return QString::number(units::energyShown(kj, kcal)); };

    int row = 1;
    if (!catalogrules::isActivityItem(item)) {
        m_main.NahrungKategorie = catalogrules::categoryCode(item);
        store::Table& nrg = m_main.Dbf_NRG;
        nrg.refresh();
        const QString header[] = {QStringLiteral("Nahrungsmittel"),
                                  QStringLiteral("Einheit"),
                                  QStringLiteral("Energie/") + units::energyUnit(kcal),
                                  QStringLiteral("Protein/g"),
                                  QStringLiteral("Kohlenh./g"),
                                  QStringLiteral("Fett/g")};
        for (int c = 0; c < 6; ++c)
            grid->setCell(c, 0, header[c]);
        for (nrg.first(); !nrg.eof(); nrg.next(), ++row) {
            grid->setRowCount(row + 1);
            grid->setCell(0, row, nrg.fieldText("NRGNAME"));
            grid->setCell(1, row, catalogrules::unitText(nrg.fieldInt("NRGME")));
            grid->setCell(2, row, energyText(nrg.fieldInt("NRGENERGIE")));
            grid->setCell(3, row, numbers::shortest(nrg.fieldDouble("NRGPROTEIN")));
            grid->setCell(4, row, numbers::shortest(nrg.fieldDouble("NRGKOHLENH")));
            grid->setCell(5, row, numbers::shortest(nrg.fieldDouble("NRGFETT")));
        }
    } else {
        m_main.AktivKategorie = catalogrules::categoryCode(item);
        store::Table& akt = m_main.Dbf_AKT;
        akt.refresh();
        const QString header[] = {QStringLiteral("Aktivität"),
                                  catalogrules::energyUnit(true, 0, kcal),
                                  QString(),
                                  QString(),
                                  QString(),
                                  QString()};
        for (int c = 0; c < 6; ++c)
            grid->setCell(c, 0, header[c]);
        for (akt.first(); !akt.eof(); akt.next(), ++row) {
            grid->setRowCount(row + 1);
            grid->setCell(0, row, akt.fieldText("AKTNAME"));
            grid->setCell(1, row, energyText(akt.fieldInt("AKTENERGIE")));
            for (int c = 2; c < 6; ++c)
                grid->setCell(c, row, QString());
        }
    }
    grid->selectGridRow(1);
}

void TToolForm1::LabelSchreiben()
{
    const bool kcal = m_main.AnzeigeKcal;
    if (activityChosen()) {
        LabelTools7->setText(catalogrules::energyUnit(true, 0, kcal));
    } else {
        const int unit = ComboBoxTools2->currentIndex();
        if (unit < 0)
            return;
        LabelTools7->setText(catalogrules::energyUnit(false, unit, kcal));
        for (QLabel* l : {LabelTools8, LabelTools9, LabelTools10})
            l->setText(catalogrules::nutrientUnit(unit));
    }
    for (QLabel* l : {LabelTools7, LabelTools8, LabelTools9, LabelTools10})
        l->adjustSize();
}

void TToolForm1::FelderLeeren()
{
    EditTools1->clear();
    for (QLineEdit* e : {EditTools2, EditTools3, EditTools4, EditTools5})
        e->setText(QStringLiteral("0"));
}

void TToolForm1::FelderSchreiben()
{
    const StringGrid* grid = StringGridTools1;
    const int r = grid->selectedRow();
    if (r == 1 && grid->cell(0, 1) == kPlaceholder) {
        FelderLeeren();
        return;
    }
    if (TabControlTools->currentIndex() != 1 || r < 1)
        return;
    EditTools1->setText(grid->cell(0, r));
    if (activityChosen()) {
        EditTools2->setText(grid->cell(1, r));
        return;
    }
    EditTools2->setText(grid->cell(2, r));
    EditTools3->setText(grid->cell(3, r));
    EditTools4->setText(grid->cell(4, r));
    EditTools5->setText(grid->cell(5, r));
    ComboBoxTools2->setCurrentIndex(catalogrules::unitItem(grid->cell(1, r)));
}

void TToolForm1::EditFloatKeyPress(QLineEdit* sender, QChar& key)
{
    key = catalogrules::decimalKey(sender->text(), key, decimalSeparator());
}

void TToolForm1::EditFloatChange(QLineEdit* sender)
{
    const QString capped = catalogrules::cappedAt999(sender->text(), decimalSeparator());
    if (capped != sender->text())
        sender->setText(capped);
}

QString TToolForm1::enteredName() const
{
    // Stored as the catalogue holds it: in its code page, without the
    // trailing blanks that a text field cannot keep.
    QString name = store::fitToLine(EditTools1->text(), store::CodePage::Cp850).left(kNameLength);
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    return name;
}

std::optional<catalogrules::Row> TToolForm1::checkedRow(const QString& name, const QString& refusal)
{
    for (QLineEdit* e : {EditTools2, EditTools3, EditTools4, EditTools5}) {
        if (e->text().isEmpty())
            e->setText(QStringLiteral("0"));
    }
    catalogrules::Fields fields;
    fields.name = name;
    fields.energy = EditTools2->text();
    fields.protein = EditTools3->text();
    fields.carbohydrate = EditTools4->text();
    fields.fat = EditTools5->text();
    fields.unitItem = std::max(0, ComboBoxTools2->currentIndex());
    const Checked<catalogrules::Row> checked =
        catalogrules::checkFields(fields, activityChosen(), m_main.AnzeigeKcal, decimalSeparator(), refusal);
    if (!checked) {
        platform::showMessage(this, checked.message());
        return std::nullopt;
    }
    return *checked;
}

bool TToolForm1::nameInCategory(const QString& name)
{
    return catalogwrites::contains(catalogue(), nameField(), name);
}

store::Fields TToolForm1::rowValues(const catalogrules::Row& row) const
{
    return catalogrules::recordFields(row, activityChosen(),
                                      activityChosen() ? m_main.AktivKategorie : m_main.NahrungKategorie);
}

void TToolForm1::ButtonToolsInsertClick()
{
    const QString n = enteredName();
    if (const Checked<> name = catalogrules::checkName(n, false); !name) {
        platform::showMessage(this, name.message());
        return;
    }
    const std::optional<catalogrules::Row> row =
        checkedRow(n, QStringLiteral("Daten werden nicht eingefügt !"));
    if (!row)
        return;
    if (nameInCategory(n)) {
        platform::showMessage(
            this,
            QStringLiteral("Eintrag %1 bereits vorhanden. Daten werden nicht eingefügt !").arg(quoted(n)));
        return;
    }
    catalogwrites::insertRow(catalogue(), rowValues(*row));
    platform::MessageBeep(platform::Sound::Information);
    SchreibeDatenTabelle();
    StringGridTools1->selectGridRow(StringGridTools1->lastRowWith(0, n, StringGridTools1->rowCount()));
    FelderLeeren();
}

void TToolForm1::ButtonToolsEditClick()
{
    const QString o = StringGridTools1->cell(0, std::max(1, StringGridTools1->selectedRow()));
    if (o == kPlaceholder) {
        platform::showMessage(this, QStringLiteral("Keine Daten zum Ändern vorhanden !"));
        return;
    }
    const QString n = enteredName();
    if (const Checked<> name = catalogrules::checkName(n, true, o); !name) {
        platform::showMessage(this, name.message());
        return;
    }
    const std::optional<catalogrules::Row> row =
        checkedRow(n, QStringLiteral("Daten werden nicht geändert !"));
    if (!row)
        return;
    if (n != o && nameInCategory(n)) {
        platform::showMessage(
            this,
            QStringLiteral("Eintrag %1 bereits vorhanden. Daten werden nicht geändert !").arg(quoted(n)));
        FelderSchreiben();
        LabelSchreiben();
        return;
    }
    catalogwrites::rewriteRows(catalogue(), nameField(), o, n, rowValues(*row),
                               [] { platform::MessageBeep(platform::Sound::Information); });
    SchreibeDatenTabelle();
    StringGridTools1->selectGridRow(StringGridTools1->lastRowWith(0, n, StringGridTools1->rowCount()));
}

void TToolForm1::ButtonToolsDeleteClick()
{
    const QString o = StringGridTools1->cell(0, std::max(1, StringGridTools1->selectedRow()));
    if (o == kPlaceholder) {
        platform::showMessage(this, QStringLiteral("Keine Daten zum Löschen vorhanden !"));
        return;
    }
    if (!platform::askQuestion(
            this, QStringLiteral("Wollen Sie den Eintrag %1 tatsächlich löschen ? ").arg(quoted(o))))
        return;
    catalogwrites::deleteRows(catalogue(), nameField(), o,
                              [] { platform::MessageBeep(platform::Sound::DefaultBeep); });
    SchreibeDatenTabelle();
    FelderSchreiben();
    LabelSchreiben();
}
