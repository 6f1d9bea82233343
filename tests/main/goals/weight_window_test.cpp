// The daily weight field and the scale of the real main window: typing,
// storing into the day record, the needle and the body-mass index.

#include "main/draw/picture.h"
#include "main/draw/pictures/scale.h"
#include "main/goals/rules/weightrules.h"
#include "main/panels.h"
#include "main/zeb6.h"
#include "store/table.h"
#include "support/diary.h"
#include "support/printers.h"
#include "support/window.h"

#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace testing_support;

namespace {

const QDate kDay(2008, 3, 14);
constexpr int k165cm = 26; // item of ComboBoxHoehe

struct DayRecord
{
    double gewicht = 0;
    qint64 energie = 0, protein = 0, kohlenh = 0, fett = 0, fitness = 0;
    bool operator==(const DayRecord&) const = default;
};

void PrintTo(const DayRecord& r, std::ostream* os)
{
    *os << r.gewicht << " kg, " << r.energie << " kJ, " << r.protein << "/" << r.kohlenh << "/" << r.fett
        << " g, " << r.fitness << " kJ";
}

// The day record as the file on the disk holds it, read byte by byte
// (the window keeps the table itself locked).
DayRecord dayRecord(const QString& dir, QDate day)
{
    QFile file(QDir(dir).filePath(QStringLiteral("ZEB_ZEB.dbf")));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("ZEB_ZEB.dbf cannot be read");
    const QByteArray bytes = file.readAll();
    const auto u16 = [&](int at) { return quint8(bytes[at]) | quint8(bytes[at + 1]) << 8; };
    const quint32 count = quint32(u16(4)) | quint32(u16(6)) << 16;
    const int headerLength = u16(8);
    const int recordLength = u16(10);
    std::map<QByteArray, std::pair<int, int>> fields; // name -> offset, width
    int offset = 1;
    for (int at = 32; bytes[at] != '\r'; at += 32) {
        const QByteArray name = bytes.mid(at, 11).split('\0').front();
        const int width = quint8(bytes[at + 16]);
        fields[name] = {offset, width};
        offset += width;
    }
    const QByteArray key = day.toString(QStringLiteral("yyyyMMdd")).toLatin1();
    for (quint32 i = 0; i < count; ++i) {
        const QByteArray record = bytes.mid(headerLength + i * recordLength, recordLength);
        const auto field = [&](const char* name) {
            const auto [at, width] = fields.at(name);
            return record.mid(at, width).trimmed();
        };
        if (record[0] != '*' && field("ZEBDATUM") == key) {
            return {field("ZEBGEWICHT").toDouble(),   field("ZEBENERGIE").toLongLong(),
                    field("ZEBPROTEIN").toLongLong(), field("ZEBKOHLENH").toLongLong(),
                    field("ZEBFETT").toLongLong(),    field("ZEBFITNESS").toLongLong()};
        }
    }
    throw std::runtime_error("no day record");
}

void writeDayRecord(const QString& dir, QDate day, const DayRecord& r)
{
    testing_support::setDayRecord(dir, day, r.gewicht, r.energie, r.protein, r.kohlenh, r.fett, r.fitness);
}

// The needle tile the scale shows, found by comparing the dial with each
// tile drawn over the face.
int shownNeedle(const TFormMain1& window)
{
    const QImage& canvas = window.ImageRechts1->canvas();
    const QPoint centre = pictures::kScaleFace + QPoint(45, 45);
    int found = -1;
    for (int tile = 0; tile <= 15; ++tile) {
        QImage expected(canvas.size(), canvas.format());
        expected.fill(Qt::black);
        QPainter painter(&expected);
        pictures::drawScale(painter, pictures::kScaleFace, tile, goals::needlePlace(tile));
        painter.end();
        bool same = true;
        for (int y = centre.y() - 40; same && y <= centre.y() + 40; ++y) {
            for (int x = centre.x() - 40; same && x <= centre.x() + 40; ++x) {
                if ((x - centre.x()) * (x - centre.x()) + (y - centre.y()) * (y - centre.y()) <= 38 * 38)
                    same = canvas.pixel(x, y) == expected.pixel(x, y);
            }
        }
        if (same) {
            if (found >= 0)
                return -2; // two tiles look alike
            found = tile;
        }
    }
    return found;
}

// The main window on the test day, with a man of 180 cm chosen.
class WeightField : public ::testing::Test
{
protected:
    void SetUp() override
    {
        platform::setToday(kDay);
        writeSettings(diary.dir(), {{"CBG", qint64(1)}, {"CBH", qint64(41)}});
    }

    std::unique_ptr<TFormMain1> openWindow()
    {
        auto window = std::make_unique<TFormMain1>(diary.dir());
        window->show();
        return window;
    }

    void retype(TFormMain1& window, const QString& text)
    {
        window.EditTagesgewicht->selectAll();
        QTest::keyClick(window.EditTagesgewicht, Qt::Key_Backspace);
        QTest::keyClicks(window.EditTagesgewicht, text);
    }

    FreshDiary diary;
    Seams seams;
};

} // namespace

TEST_F(WeightField, TypingInGermanStoresTheWeightKeystrokeByKeystroke)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    writeDayRecord(diary.dir(), kDay, {0, 9200, 70, 300, 60, 1500});
    writeDayRecord(diary.dir(), kDay.addDays(1), {81.5, 1, 2, 3, 4, 5});
    auto window = openWindow();
    QLineEdit* edit = window->EditTagesgewicht;
    edit->clear();
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 0.0);

    QTest::keyClick(edit, ',');
    EXPECT_EQ(edit->text(), "") << "a separator never comes first";
    const std::pair<char, double> keystrokes[] = {{'7', 7.0}, {'2', 72.0}, {',', 72.0}, {'5', 72.5}};
    for (const auto& [key, stored] : keystrokes) {
        QTest::keyClick(edit, key);
        EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, stored) << edit->text().toStdString();
    }
    EXPECT_EQ(edit->text(), "72,5");
    QTest::keyClick(edit, ',');
    QTest::keyClick(edit, '.');
    EXPECT_EQ(edit->text(), "72,5") << "one separator only";

    // Only the weight of the day record changed; the next day is untouched.
    EXPECT_EQ(dayRecord(diary.dir(), kDay), (DayRecord{72.5, 9200, 70, 300, 60, 1500}));
    EXPECT_EQ(dayRecord(diary.dir(), kDay.addDays(1)), (DayRecord{81.5, 1, 2, 3, 4, 5}));

    // The point becomes the comma.
    retype(*window, "72.5");
    EXPECT_EQ(edit->text(), "72,5");
    EXPECT_TRUE(seams.messages.isEmpty());
    window->close();
}

TEST_F(WeightField, TypingInEnglishTakesThePoint)
{
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    auto window = openWindow();
    retype(*window, "72,5");
    EXPECT_EQ(window->EditTagesgewicht->text(), "72.5");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 72.5);
    retype(*window, "80.");
    QTest::keyClick(window->EditTagesgewicht, ',');
    EXPECT_EQ(window->EditTagesgewicht->text(), "80.");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.0);
    window->close();
}

TEST_F(WeightField, WeightsAboveTheScaleCannotBeTyped)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    retype(*window, "151");
    EXPECT_EQ(window->EditTagesgewicht->text(), "15") << "the digit that would pass 150 is refused";
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 15.0);
    EXPECT_EQ(shownNeedle(*window), 0);
    // Each digit refused for the limits is told at once, naming them; a
    // letter or a second separator is discarded without a word.
    const QString limit = "Das Tagesgewicht kann höchstens 150,0 kg mit einer Nachkommastelle betragen.";
    EXPECT_EQ(seams.messages, QStringList{limit});
    const struct
    {
        const char* typed;
        const char* shown;
        int told;
    } cases[] = {{"99999", "99", 3}, {"72,55", "72,5", 1}, {"8x,,", "8,", 0}};
    for (const auto& c : cases) {
        seams.messages.clear();
        retype(*window, c.typed);
        EXPECT_EQ(window->EditTagesgewicht->text(), c.shown);
        EXPECT_EQ(seams.messages, QStringList(c.told, limit)) << c.typed;
    }
    retype(*window, "150");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 150.0);

    // Clearing the field stores 0 and puts the needle to rest.
    retype(*window, "80");
    EXPECT_EQ(shownNeedle(*window), 5);
    window->EditTagesgewicht->selectAll();
    QTest::keyClick(window->EditTagesgewicht, Qt::Key_Delete);
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 0.0);
    EXPECT_EQ(shownNeedle(*window), 0);
    window->close();
}

TEST_F(WeightField, AWeightThatIsNotANumberIsRefusedAndNothingChanges)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    QLineEdit* edit = window->EditTagesgewicht;
    retype(*window, "8,5");
    ASSERT_EQ(dayRecord(diary.dir(), kDay).gewicht, 8.5);

    // Deleting the digits around the separator leaves it alone.
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), ",5");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 0.5);
    retype(*window, "80");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClick(edit, Qt::Key_Delete);
    ASSERT_EQ(edit->text(), "");
    ASSERT_EQ(dayRecord(diary.dir(), kDay).gewicht, 0.0);
    QTest::keyClicks(edit, "9");
    QTest::keyClick(edit, ',');
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "9,") << "the separator alone is refused and the text stays";
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_EQ(
        seams.messages[0],
        "\",\" ist keine gültige Gewichtsangabe.\rBitte geben Sie das Gewicht in kg ein, zum Beispiel 72,5.");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 9.0) << "nothing stored";

    // Pasted text likewise; the scale stays as it was.
    retype(*window, "80");
    ASSERT_EQ(shownNeedle(*window), 5);
    edit->selectAll();
    edit->insert("8O");
    ASSERT_EQ(seams.messages.size(), 2);
    EXPECT_TRUE(seams.messages[1].startsWith("\"8O\" ist keine gültige Gewichtsangabe."));
    EXPECT_EQ(edit->text(), "80");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.0);
    EXPECT_EQ(shownNeedle(*window), 5);
    for (const char* pasted : {"inf", "nan", "1.000"}) {
        edit->setText(pasted);
        EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.0) << pasted;
    }
    window->close();
}

TEST_F(WeightField, TheFirstDigitOnADayWithoutWeightReplacesItsZero)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QLineEdit* edit = window->EditTagesgewicht;
    const auto clickAt = [edit](int x) {
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
    };
    const struct
    {
        const char* way;
        std::function<void()> enter;
        bool selects;
        const char* typed;
        double stored;
    } cases[] = {
        {"a click right of the 0", [&] { clickAt(edit->width() - 3); }, true, "100,5", 100.5},
        {"a click left of the 0", [&] { clickAt(2); }, true, "77,9", 77.9},
        {"Tab",
         [&] {
             window->ComboBoxGeschlecht->setFocus();
             edit->setFocus(Qt::TabFocusReason);
         },
         true, "80", 80.0},
        {"End after a click",
         [&] {
             clickAt(edit->width() - 3);
             QTest::keyClick(edit, Qt::Key_End);
         },
         false, "72,5", 72.5},
    };
    int day = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        window->DateTimePicker->setDate(kDay.addDays(day % 3));
        ASSERT_EQ(edit->text(), "0");
        c.enter();
        if (c.selects)
            EXPECT_EQ(edit->selectedText(), "0") << "selected on the way in";
        QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(edit->text(), c.typed);
        EXPECT_EQ(dayRecord(diary.dir(), kDay.addDays(day % 3)).gewicht, c.stored);
        // Back to a day without weight for the next way in.
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_0);
        ++day;
    }
    // A "0" with more behind it is a weight being typed, not a day without one.
    edit->setText("0");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, ",5");
    EXPECT_EQ(edit->text(), "0,5");
    EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join('/').toStdString();
    window->close();
}

TEST_F(WeightField, TypingIntoAWeightNeverStoresOtherThanTheFieldShows)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    QLineEdit* edit = window->EditTagesgewicht;
    // The text set, the cursor, the keys typed and what the field then shows.
    const struct
    {
        const char* start;
        int cursor;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"72,5", 4, "3", "72,5"},   {"72,5", 0, "1", "72,5"}, {"72,5", 2, "0", "72,5"},
        {"72,5", 0, "00", "072,5"}, {"80", 2, ",55", "80,5"}, {"15", 2, "01", "150"},
        {"150", 3, ",05", "150,0"}, {"99", 1, "9", "99"},     {"9", 1, "9,99", "99,9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.start) + " + " + c.typed);
        edit->setText(c.start);
        edit->setFocus();
        edit->setCursorPosition(c.cursor);
        for (const char* key = c.typed; *key; ++key) {
            QTest::keyClick(edit, *key);
            const double stored = dayRecord(diary.dir(), kDay).gewicht;
            EXPECT_NEAR(stored, goals::readWeight(edit->text()).value_or(-1), 1e-4)
                << edit->text().toStdString();
        }
        EXPECT_EQ(edit->text(), c.shown);
    }
    // Pasted over the whole text: what the record cannot hold as shown is
    // refused and the weight stays.
    seams.messages.clear();
    edit->setText("80");
    for (const char* pasted : {"160", "72,55", "-5", "1e2"}) {
        QGuiApplication::clipboard()->setText(pasted);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->text(), "80") << pasted;
        EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.0) << pasted;
    }
    EXPECT_EQ(seams.messages.size(), 4);
    QGuiApplication::clipboard()->setText("81,5");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 81.5);
    window->close();
}

TEST_F(WeightField, ATableErrorIsShownAndEndsTheAction)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    retype(*window, "80");
    window->Dbf_ZEB.close();
    QTest::keyClicks(window->EditTagesgewicht, ",");
    ASSERT_EQ(seams.messages.size(), 1);
    EXPECT_TRUE(seams.messages[0].contains("ZEB_ZEB.dbf")) << seams.messages[0].toStdString();
    EXPECT_EQ(window->EditTagesgewicht->text(), "80") << "the weight last stored";
    EXPECT_EQ(shownNeedle(*window), 5) << "the scale stays as it was";
    window->Dbf_ZEB.open(diary.dir());
    window->Dbf_ZEB.setFiltered(true);
    window->Dbf_ZEB.refresh();
    QTest::keyClick(window->EditTagesgewicht, Qt::Key_End);
    QTest::keyClicks(window->EditTagesgewicht, ",5");
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.5);
    EXPECT_EQ(seams.messages.size(), 1);
    window->close();
}

TEST_F(WeightField, AfterAWriteRefusedForAnotherProgramsChangeTheFieldShowsTheStoredValue)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    // Another dBase program sets the field of the day's record (the first
    // record when no day field is named); a key typed into its field then
    // is refused.
    const struct
    {
        QWidget* widget;
        const char *file, *day, *field, *stored, *typed;
    } cases[] = {{window->EditTagesgewicht, "ZEB_ZEB.dbf", "zebdatum", "zebgewicht", "80", "7"},
                 {window->MemoNotiz, "ZEB_XTB.dbf", "xtbdatum", "xtbtext1", "Von anderswo", "b"},
                 {window->EditFett, "ZEB_REG.dbf", "-", "ef", "55", "85\t"}};
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->LabelOrdnerClick(2);
    QTest::keyClicks(window->MemoNotiz, "a");
    for (const auto& c : cases) {
        seams.messages.clear();
        runScript(QStringLiteral("python3"),
                  QStringLiteral("import sys, datetime, dbf\n"
                                 "t = dbf.Table(sys.argv[1], codepage='cp850')\n"
                                 "t.open(dbf.READ_WRITE)\n"
                                 "r = next(r for r in t if sys.argv[2] == '-' or r[sys.argv[2]] == "
                                 "datetime.date(2008, 3, 14))\n"
                                 "with r:\n"
                                 "    r[sys.argv[3]] = type(r[sys.argv[3]])(sys.argv[4])\n"
                                 "t.close()\n"),
                  {diary.path(c.file), c.day, c.field, c.stored});
        c.widget->setFocus();
        QTest::keyClicks(c.widget, c.typed);
        EXPECT_EQ(seams.messages.size(), 1) << c.field << ": the refusal is told";
        EXPECT_EQ(c.widget->property("text").toString() + c.widget->property("plainText").toString(),
                  c.stored);
    }
    window->close();
}

TEST_F(WeightField, TheNeedleAtTheBoundaryWeights)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    const std::pair<const char*, int> cases[] = {{"80", 5},     {"57", 1}, {"56", 0}, {"128", 0}, {"130", 0},
                                                 {"127,9", 15}, {"88", 7}, {"90", 8}, {"75", 4},  {"70", 2}};
    for (const auto& [weight, tile] : cases) {
        retype(*window, weight);
        EXPECT_EQ(shownNeedle(*window), tile) << weight;
    }
    window->close();
}

TEST_F(WeightField, HeightAndSexRedrawTheScaleTheOtherDataDoNot)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    writeSettings(diary.dir(), {{"CBG", qint64(2)}, {"CBH", qint64(0)}});
    auto window = openWindow();
    retype(*window, "58,5");
    EXPECT_EQ(shownNeedle(*window), 0) << "no height chosen";

    // Set without a user's choice: the scale is not drawn again ...
    window->ComboBoxHoehe->setCurrentIndex(k165cm);
    window->ComboBoxAlter->setCurrentIndex(0);
    QTest::keyClick(window->ComboBoxAlter, Qt::Key_Down);
    EXPECT_EQ(shownNeedle(*window), 0) << "the age group does not redraw the scale";
    // ... until the height is chosen.
    window->ComboBoxHoehe->setCurrentIndex(k165cm - 1);
    QTest::keyClick(window->ComboBoxHoehe, Qt::Key_Down);
    EXPECT_EQ(shownNeedle(*window), 5) << "58.5 kg is the normal weight of a woman of 165 cm";
    // Choosing the sex redraws as well.
    window->ComboBoxGeschlecht->setCurrentIndex(2);
    QTest::keyClick(window->ComboBoxGeschlecht, Qt::Key_Up);
    EXPECT_EQ(shownNeedle(*window), 3) << "a man of 165 cm: 58.5 / 65 kg reads 0.9";
    window->close();
}

TEST_F(WeightField, TheStartDrawsTheScaleForTheDaysWeight)
{
    writeDayRecord(diary.dir(), kDay, {80, 0, 0, 0, 0, 0});
    auto window = openWindow();
    EXPECT_EQ(window->EditTagesgewicht->text(), "80");
    EXPECT_EQ(shownNeedle(*window), 5);
    EXPECT_EQ(dayRecord(diary.dir(), kDay).gewicht, 80.0);
    window->close();
}

TEST_F(WeightField, APressInTheScalesCentreShowsTheBodyMassIndex)
{
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    auto window = openWindow();
    retype(*window, "80");
    QLabel* readout = window->StaticTextAnzeige;
    ASSERT_LT(readout->x(), 0);

    QTest::mousePress(window->ImageRechts1, Qt::LeftButton, {}, QPoint(52, 96));
    EXPECT_EQ(readout->text(), " BMI 24,7");
    EXPECT_EQ(readout->pos(), QPoint(57, 114));
    EXPECT_GT(readout->x() + readout->width(), 0);
    QTest::mouseRelease(window->ImageRechts1, Qt::LeftButton, {}, QPoint(20, 300));
    EXPECT_EQ(readout->x(), -100);

    // Right of x = 55 it opens to the left; any button counts.
    QTest::mousePress(window->ImageRechts1, Qt::RightButton, {}, QPoint(57, 102));
    EXPECT_EQ(readout->pos(), QPoint(42, 120));
    QTest::mouseRelease(window->ImageRechts1, Qt::RightButton, {}, QPoint(57, 102));
    EXPECT_EQ(readout->x(), -100);

    // Outside the centre, or without a height, nothing shows.
    for (const QPoint at : {QPoint(46, 96), QPoint(58, 96), QPoint(52, 89), QPoint(52, 103)}) {
        QTest::mousePress(window->ImageRechts1, Qt::LeftButton, {}, at);
        EXPECT_EQ(readout->x(), -100) << at.x() << ", " << at.y();
        QTest::mouseRelease(window->ImageRechts1, Qt::LeftButton, {}, at);
    }
    window->ComboBoxHoehe->setCurrentIndex(0);
    QTest::mousePress(window->ImageRechts1, Qt::LeftButton, {}, QPoint(52, 96));
    EXPECT_EQ(readout->x(), -100);
    QTest::mouseRelease(window->ImageRechts1, Qt::LeftButton, {}, QPoint(52, 96));
    window->close();
}

TEST(ScalePictures, TheTilesOfTheScale)
{
    // The face: solid in its middle, clear in the outer corners.
    for (int tile = 16; tile <= 19; ++tile) {
        const QImage& t = pictures::scaleTile(tile);
        ASSERT_EQ(t.size(), QSize(45, 45));
        const QPoint inner(tile % 2 == 0 ? 40 : 4, tile < 18 ? 40 : 4);
        const QPoint outer(tile % 2 == 0 ? 0 : 44, tile < 18 ? 0 : 44);
        EXPECT_EQ(qAlpha(t.pixel(inner)), 255) << tile;
        EXPECT_EQ(qAlpha(t.pixel(outer)), 0) << tile;
    }
    // Sixteen different needles, each drawn with its hub on the centre.
    for (int tile = 0; tile <= 15; ++tile) {
        const QImage& t = pictures::scaleTile(tile);
        ASSERT_EQ(t.size(), QSize(45, 45));
        const QPoint hub = QPoint(53, 96) - goals::needlePlace(tile);
        EXPECT_EQ(qAlpha(t.pixel(hub)), 255) << tile;
        for (int other = 0; other < tile; ++other)
            EXPECT_NE(t, pictures::scaleTile(other)) << tile << " and " << other;
    }
    EXPECT_EQ(qAlpha(pictures::scaleTile(20).pixel(22, 22)), 0) << "past the scale: an empty tile";
}
