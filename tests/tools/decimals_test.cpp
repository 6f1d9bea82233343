// The catalogue's decimals in the tools window: every number of the shipped
// food catalogue, stored in a new diary and read back, is listed and loaded
// into the edit fields as its own text with the locale's separator ("0,3",
// never "0,3000000…" or "0,300").

#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "install/catalogue.h"
#include "main/zeb6.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

using namespace testing_support;

namespace {

// "12.0" -> "12", "0.30" -> "0.3": the shortest form of the catalogue's text.
QString ownText(QString text, QChar separator)
{
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text.replace(u'.', separator);
}

// Protein, carbohydrate and fat of every food as the catalogue text writes
// them, by category and name.
std::map<std::pair<int, QString>, QStringList> catalogueTexts()
{
    std::map<std::pair<int, QString>, QStringList> texts;
    for (const QString& line : install::foodsText().split(u'\n')) {
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList cells = line.split(u'|');
        texts[{cells[0].toInt(), cells[1]}] = cells.mid(4, 3);
    }
    return texts;
}

} // namespace

TEST(CatalogueDecimals, EveryNumberOfTheShippedCatalogueShowsAsItsText)
{
    const std::map<std::pair<int, QString>, QStringList> texts = catalogueTexts();
    ASSERT_GT(texts.size(), 700u);
    FreshDiary diary;
    Seams seams;
    for (const QLocale& locale : {QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English)}) {
        SCOPED_TRACE(locale.name().toStdString());
        const LocaleScope scope(locale);
        const QChar separator = locale.decimalPoint().front();
        TFormMain1 main(diary.dir());
        THelpForm1 help;
        TToolForm1 tools(main);
        main.setSideWindows(&help, &tools);
        main.show();
        QTest::mouseClick(main.SpeedButtonTool, Qt::LeftButton);
        QTest::mouseClick(tools.TabControlTools, Qt::LeftButton, {},
                          tools.TabControlTools->tabRect(1).center());
        size_t seen = 0;
        for (int item = 0; item < 16; ++item) {
            QComboBox* combo = tools.ComboBoxTools1;
            combo->setFocus();
            QTest::keyClick(combo, Qt::Key_Home);
            for (int i = 0; i < item; ++i)
                QTest::keyClick(combo, Qt::Key_Down);
            StringGrid* grid = tools.StringGridTools1;
            grid->setFocus();
            for (int row = 1; row < grid->rowCount(); ++row) {
                if (row > 1)
                    QTest::keyClick(grid, Qt::Key_Down);
                ASSERT_EQ(grid->selectedRow(), row);
                const auto found = texts.find({item + 1, grid->cell(0, row)});
                if (found == texts.end())
                    continue; // the category's placeholder row
                ++seen;
                const QLineEdit* edits[] = {tools.EditTools3, tools.EditTools4, tools.EditTools5};
                for (int n = 0; n < 3; ++n) {
                    const QString expected = ownText(found->second[n], separator);
                    ASSERT_EQ(grid->cell(3 + n, row), expected) << grid->cell(0, row).toStdString();
                    ASSERT_EQ(edits[n]->text(), expected) << grid->cell(0, row).toStdString();
                }
            }
        }
        EXPECT_EQ(seen, texts.size());
        main.close();
    }
}
