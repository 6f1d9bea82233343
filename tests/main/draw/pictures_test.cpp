// The drawn pictures of the real main window on screens of the device pixel
// ratios 1, 1.25, 1.5 and 2, as the window is moved between them, and under
// a light and two dark palettes: drawn at the screen's resolution with lines
// of one width, every text readable on its background, the pressed buttons
// of the side bar visible. Screenshots of each go to screenshots/.

#include "controls/rules/contrast.h"
#include "controls/stringgrid.h"
#include "controls/tabcontrol.h"
#include "help/zebhelp.h"
#include "install/installer.h"
#include "main/draw/drawnbutton.h"
#include "main/draw/picture.h"
#include "main/draw/pictures/pictures.h"
#include "main/draw/pictures/scale.h"
#include "main/draw/pictures/symbols.h"
#include "main/draw/rules/tablayout.h"
#include "main/zeb6.h"
#include "support/window.h"
#include "tools/zebtool.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cmath>

using namespace testing_support;

namespace {

const QDate kDay(2006, 7, 8);

QString screenshot(const QString& name)
{
    const QString dir = QStringLiteral(KELVARA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    return dir + u'/' + name;
}

std::uint32_t rgb(QRgb pixel)
{
    return pixel & 0xffffff;
}

// Aligned 2 × 2 blocks of `image` within `rect` (device pixels) whose four
// pixels are not all alike: none where a picture of half the resolution was
// merely doubled.
int detailedBlocks(const QImage& image, const QRect& rect)
{
    int detailed = 0;
    for (int y = rect.top() & ~1; y + 1 <= rect.bottom(); y += 2) {
        for (int x = rect.left() & ~1; x + 1 <= rect.right(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p || image.pixel(x + 1, y + 1) != p)
                ++detailed;
        }
    }
    return detailed;
}

// The contrast of a text in `rect` of `image` (logical pixels, the image at
// `ratio`): its background is the most frequent colour there, its ink the
// pixel that stands out most from it.
double textContrast(const QImage& image, const QRect& rect, double ratio)
{
    const QRect device(
        QPoint(std::lround(rect.left() * ratio), std::lround(rect.top() * ratio)),
        QPoint(std::lround((rect.right() + 1) * ratio) - 1, std::lround((rect.bottom() + 1) * ratio) - 1));
    QMap<std::uint32_t, int> counts;
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x)
            ++counts[rgb(image.pixel(x, y))];
    std::uint32_t background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    double most = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        most = std::max(most, contrast::contrastRatio(it.key(), background));
    return most;
}

// Whether the text in `cell` of `shown` (a grab at `ratio`) ends in "…":
// the ink of its last eight logical pixels lies on one line, no higher
// than a dot.
bool endsInEllipsis(const QImage& shown, const QRect& cell, double ratio)
{
    const QRect r(cell.topLeft() * ratio, cell.bottomRight() * ratio);
    const std::uint32_t ground = rgb(shown.pixel(r.topLeft()));
    int right = -1, top = r.bottom(), bottom = r.top();
    for (int x = r.right(); x >= r.left() && (right < 0 || x > right - 8 * ratio); --x)
        for (int y = r.top(); y <= r.bottom(); ++y)
            if (contrast::contrastRatio(rgb(shown.pixel(x, y)), ground) >= 2)
                right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    return right >= 0 && bottom - top < 3 * ratio;
}

QPalette lightPalette()
{
    return QApplication::style()->standardPalette();
}

// Dark palettes as common desktop themes set them.
QPalette darkPalette(QColor window, QColor text, QColor base, QColor highlight)
{
    QPalette p;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::Button, window);
        p.setColor(group, QPalette::WindowText, group == QPalette::Disabled ? text.darker(160) : text);
        p.setColor(group, QPalette::ButtonText, group == QPalette::Disabled ? text.darker(160) : text);
        p.setColor(group, QPalette::Text, group == QPalette::Disabled ? text.darker(160) : text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::AlternateBase, window);
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Light, window.lighter(150));
        p.setColor(group, QPalette::Midlight, window.lighter(125));
        p.setColor(group, QPalette::Mid, window.darker(120));
        p.setColor(group, QPalette::Dark, window.darker(150));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::ToolTipBase, base);
        p.setColor(group, QPalette::ToolTipText, text);
    }
    return p;
}

struct NamedPalette
{
    const char* name;
    QPalette palette;
};

std::vector<NamedPalette> palettes()
{
    return {{"light", lightPalette()},
            {"adwaita-dark", darkPalette(QColor(0x35, 0x35, 0x35), QColor(0xee, 0xee, 0xec),
                                         QColor(0x2d, 0x2d, 0x2d), QColor(0x15, 0x53, 0x9e))},
            {"breeze-dark", darkPalette(QColor(0x31, 0x36, 0x3b), QColor(0xef, 0xf0, 0xf1),
                                        QColor(0x23, 0x26, 0x29), QColor(0x3d, 0xae, 0xe9))}};
}

// The lowest contrasts in what `window` shows, its texts drawn unsmoothed
// so that each shows its own colour: of each enabled control's text (inside
// its frame; each cell of a list) against its background, and of each radio
// button's ring against the window. Disabled controls need none.
struct Lowest
{
    double text = 21, mark = 21;
    std::string textAt;

    void measure(QWidget* window)
    {
        const QFont font = window->font();
        QFont unsmoothed = font;
        unsmoothed.setStyleStrategy(QFont::NoAntialias);
        window->setFont(unsmoothed);
        const QImage shot = window->grab().toImage();
        window->setFont(font);
        const auto place = [&](QWidget* w, const QRect& r) {
            return QRect(w->mapTo(window, r.topLeft()), r.size()) & shot.rect();
        };
        const auto note = [&](QWidget* w, const QRect& r, const QString& what) {
            const QRect at = place(w, r);
            if (const double c = at.width() > 4 && at.height() > 4 ? textContrast(shot, at, 1) : 21; c < text)
                text = c, textAt = what.toStdString();
        };
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const QString name = w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName();
            const auto* view = qobject_cast<QAbstractItemView*>(w);
            const QString shown = w->property("text").toString() + w->property("currentText").toString() +
                                  w->property("plainText").toString();
            if (!w->isVisibleTo(window) || !w->isEnabled())
                continue;
            if (view && !qobject_cast<const QHeaderView*>(view)) {
                const QAbstractItemModel* m = view->model();
                for (int r = 0; r < m->rowCount(); ++r)
                    for (int c = 0; c < m->columnCount(); ++c)
                        if (const QModelIndex i = m->index(r, c); !i.data().toString().trimmed().isEmpty())
                            note(view->viewport(),
                                 view->visualRect(i).adjusted(2, 2, -2, -2) & view->viewport()->rect(),
                                 name + " " + i.data().toString());
            } else if (!shown.trimmed().isEmpty() || view || qobject_cast<TabControl*>(w)) {
                auto* area = qobject_cast<QAbstractScrollArea*>(w);
                note(area ? area->viewport() : w, w->rect().adjusted(3, 3, -3, -3),
                     name + " " + shown.left(20));
            }
            if (auto* radio = qobject_cast<QRadioButton*>(w)) {
                QStyleOptionButton option;
                option.initFrom(radio);
                const QRect ring =
                    radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio);
                mark = std::min(mark, textContrast(shot, place(radio, ring.adjusted(-2, -2, 2, 2)), 1));
            }
        }
    }
};

class DrawnPictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        install::layOutDiary(dir.path(), install::Content::Demo);
        writeExampleSettings(dir.path());
        platform::setToday(kDay);
        window = std::make_unique<TFormMain1>(dir.path());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_DOUBLE_EQ(window->devicePixelRatioF(), 1.0);
    }

    void TearDown() override
    {
        EXPECT_TRUE(seams.messages.isEmpty()) << seams.messages.join("\n").toStdString();
    }

    std::vector<Picture*> pictures() const
    {
        return {window->ImageLinks1, window->ImageRechts0, window->ImageRechts1, window->ImageStatistik1};
    }

    // Moves the window onto screen `index` as a user drags it there, and
    // waits until its pictures are drawn for that screen.
    void moveTo(int index)
    {
        QScreen* screen = QGuiApplication::screens().at(index);
        window->move(screen->geometry().topLeft() + QPoint(40, 40));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (window->screen() != screen)
                    return false;
                for (Picture* p : pictures())
                    if (!p->fitsScreen() ||
                        std::abs(p->canvas().devicePixelRatio() - screen->devicePixelRatio()) > 1e-3)
                        return false;
                return true;
            },
            10000))
            << "the pictures were not drawn for screen " << index;
    }

    QTemporaryDir dir;
    Seams seams;
    std::unique_ptr<TFormMain1> window;
};

} // namespace

TEST_F(DrawnPictures, EachScreenGetsThePicturesAtItsRatioAndBackAtOneTheSame)
{
    std::vector<QImage> atOne;
    for (Picture* p : pictures())
        atOne.push_back(p->canvas());
    const QPixmap symbolAtOne = window->ImageNDrag[1]->pixmap();

    const struct
    {
        int screen;
        double ratio;
    } screens[] = {{3, 2.0}, {2, 1.5}, {1, 1.25}, {0, 1.0}};
    for (const auto& s : screens) {
        SCOPED_TRACE(s.ratio);
        moveTo(s.screen);
        for (Picture* p : pictures()) {
            EXPECT_EQ(p->canvas().size(),
                      QSize(std::ceil(p->width() * s.ratio), std::ceil(p->height() * s.ratio)));
            EXPECT_EQ(p->canvas().devicePixelRatio(), s.ratio);
        }
        // Symbols, bins and edges are drawn at the screen's own ratio.
        for (const QLabel* label : {window->ImageNDrag[5], window->ImageFDrag[1], window->ImageNEimerZu,
                                    window->ImageFEimerAuf, window->ImageOben1, window->ImageUnten1})
            EXPECT_DOUBLE_EQ(label->pixmap().devicePixelRatio(), s.ratio);
        EXPECT_EQ(window->ImageNDrag[5]->pixmap().width(), std::ceil(90 * s.ratio));
        // Icons are drawn at the size the screen asks for.
        for (const QToolButton* b :
             {window->SpeedButtonHilfe, window->SpeedButtonS[3], window->SpeedButtonN[2],
              window->BitBtnZoomXPlus, window->BitBtnGlaettenJa}) {
            const QPixmap icon = b->icon().pixmap(b->iconSize(), s.ratio);
            EXPECT_EQ(icon.size(), b->iconSize() * s.ratio);
        }
    }
    // Back on the first screen, every picture is as it was drawn there.
    for (size_t i = 0; i < atOne.size(); ++i)
        EXPECT_EQ(pictures()[i]->canvas(), atOne[i]) << i;
    EXPECT_EQ(window->ImageNDrag[1]->pixmap().toImage(), symbolAtOne.toImage());
}

TEST_F(DrawnPictures, AtTwiceTheRatioLinesAreTwoPixelsAndTextsHaveTheirOwnDetail)
{
    window->LabelOrdnerClick(5);
    moveTo(3);
    window->grab().save(screenshot(QStringLiteral("ratio2-statistics.png")));
    window->LabelOrdnerClick(3);
    window->grab().save(screenshot(QStringLiteral("ratio2-food.png")));
    window->LabelOrdnerClick(1);
    window->grab().save(screenshot(QStringLiteral("ratio2-goals.png")));

    const QImage strip = window->ImageLinks1->canvas();
    const QColor face = window->palette().color(QPalette::Button);
    // The divider below the tabs: face, black at 109, white at 110 and 111,
    // each logical column two device columns.
    for (int y = 2 * 300; y < 2 * 540; y += 37) {
        EXPECT_EQ(strip.pixelColor(217, y), face) << y;
        EXPECT_EQ(strip.pixelColor(218, y), Qt::black) << y;
        EXPECT_EQ(strip.pixelColor(219, y), Qt::black) << y;
        EXPECT_EQ(strip.pixelColor(220, y), Qt::white) << y;
        EXPECT_EQ(strip.pixelColor(223, y), Qt::white) << y;
    }
    // The signs' frames: the outline at row 1, two rows of black.
    const QImage signs = window->ImageRechts1->canvas();
    EXPECT_EQ(signs.pixelColor(100, 1), face);
    EXPECT_EQ(signs.pixelColor(100, 2), Qt::black);
    EXPECT_EQ(signs.pixelColor(100, 3), Qt::black);
    EXPECT_EQ(signs.pixelColor(100, 4), Qt::white);
    // The chart's value-axis ticks: two rows each.
    const QImage chart = window->ImageStatistik1->canvas();
    for (int j = 1; j <= 24; ++j) {
        const int y = 2 * (20 * j - 11);
        EXPECT_EQ(chart.pixelColor(2 * 479, y - 1), Qt::white) << j;
        EXPECT_EQ(chart.pixelColor(2 * 479, y), Qt::black) << j;
        EXPECT_EQ(chart.pixelColor(2 * 479, y + 1), Qt::black) << j;
        EXPECT_EQ(chart.pixelColor(2 * 479, y + 2), Qt::white) << j;
    }

    // Texts, the scale and the tab icons are drawn at the finer grid, not
    // doubled from the coarse one.
    const struct
    {
        const char* what;
        const QImage& canvas;
        QRect logical;
    } detailed[] = {
        {"Tagesdatum", strip, {8, 6, 80, 13}},         {"the tab words", strip, {37, 57, 68, 30}},
        {"the tab icons", strip, {8, 57, 26, 30}},     {"Tagesgewicht", signs, {11, 6, 80, 12}},
        {"the scale", signs, {10, 53, 86, 86}},        {"the tube labels", signs, {25, 204, 26, 86}},
        {"the gram scale", signs, {8, 351, 90, 13}},   {"the axis labels", chart, {483, 2, 28, 480}},
        {"the month names", chart, {2, 470, 470, 16}},
    };
    for (const auto& d : detailed) {
        const QRect device(d.logical.topLeft() * 2, d.logical.size() * 2);
        EXPECT_GE(detailedBlocks(d.canvas, device), 20) << d.what;
    }
    for (const QToolButton* b : {window->SpeedButtonHilfe, window->SpeedButtonEnde, window->SpeedButtonS[5],
                                 window->BitBtnZoomYMinus, window->BitBtnGlaettenNein}) {
        const QImage icon = b->icon().pixmap(b->iconSize(), 2.0).toImage();
        EXPECT_GE(detailedBlocks(icon, icon.rect()), 10)
            << b->toolTip().toStdString() << b->text().toStdString();
    }
    const QImage symbol = window->ImageNDrag[4]->pixmap().toImage();
    EXPECT_GE(detailedBlocks(symbol, symbol.rect()), 50);
}

TEST_F(DrawnPictures, AtFractionalRatiosEveryLineFallsOnWholeDevicePixelsInOneColour)
{
    window->LabelOrdnerClick(5);
    // The lines measured, with the pictures at 1 for their colours: the
    // frames of the signs at even and odd rows and columns, the divider of
    // the tab strip, the 24 ticks of the chart's value axis and its grid.
    const QImage signs = window->ImageRechts1->canvas();
    const QImage strip = window->ImageLinks1->canvas();
    const QImage chart = window->ImageStatistik1->canvas();
    struct Line
    {
        std::string what;
        Picture* picture;
        bool horizontal;
        int along, at;
        QColor before, colour, after;
    };
    std::vector<Line> lines;
    const auto add = [&](const std::string& what, Picture* picture, const QImage& atOne, bool horizontal,
                         int along, int at) {
        const auto pixel = [&](int offset) {
            return horizontal ? atOne.pixelColor(along, at + offset) : atOne.pixelColor(at + offset, along);
        };
        lines.push_back({what, picture, horizontal, along, at, pixel(-1), pixel(0), pixel(1)});
    };
    for (int row : {1, 148, 151, 312, 315, 470})
        add("frame row " + std::to_string(row), window->ImageRechts1, signs, true, 50, row);
    add("frame column 1", window->ImageRechts1, signs, false, 100, 1);
    add("frame column 105", window->ImageRechts1, signs, false, 100, 105);
    add("divider", window->ImageLinks1, strip, false, 400, 109);
    for (int j = 1, y = 9, x = 2; j <= 24; ++j, y += 20, x = 2) {
        add("tick " + std::to_string(j), window->ImageStatistik1, chart, true, 479, y);
        while (x < 470 && (chart.pixel(x, y) != 0xffc0c0c0 || chart.pixel(x, y - 1) != 0xffffffff))
            ++x; // where no bar covers it
        if (j < 24)
            add("grid line " + std::to_string(j), window->ImageStatistik1, chart, true, x, y);
    }

    for (const auto& [screen, ratio] : {std::pair{2, 1.5}, std::pair{1, 1.25}, std::pair{4, 1.29}}) {
        SCOPED_TRACE(ratio);
        moveTo(screen);
        window->grab().save(screenshot(QStringLiteral("ratio%1-statistics.png").arg(ratio)));
        QMap<Picture*, QImage> shown;
        for (Picture* p : pictures())
            shown[p] = p->grab().toImage();
        // Across a line: its colour and its neighbours', none mixed; one
        // device pixel wide where it is drawn, one or two where the frame is
        // copied from the bevel sheet.
        for (const Line& l : lines) {
            const QImage& image = shown[l.picture];
            const qreal r = image.devicePixelRatio();
            const int along = static_cast<int>(std::floor((l.along + 0.5) * r));
            int width = 0;
            for (int p = std::lround((l.at - 1) * r); p < std::lround((l.at + 2) * r); ++p) {
                const QColor c = l.horizontal ? image.pixelColor(along, p) : image.pixelColor(p, along);
                EXPECT_TRUE(c == l.before || c == l.colour || c == l.after) << l.what;
                width += c == l.colour;
            }
            EXPECT_TRUE(width == 1 || (width == 2 && l.what.rfind("frame", 0) == 0))
                << l.what << ": " << width;
        }
    }
}

TEST_F(DrawnPictures, ANameTooLongForItsListEndsInAnEllipsis)
{
    window->LabelOrdnerClick(4);
    window->SpeedButtonA[1]->click();
    StringGrid* list = window->StringGridFIT;
    const struct
    {
        const char* name;
        bool cut;
    } names[] = {{"130% Leichte wechselnde Arbeit", true},
                 {"125% Leichte vorw. sitzende Arbeit", true},
                 {"145% Mittelschwere Arbeit", false}};
    for (const auto& [screen, ratio] : {std::pair{0, 1.0}, std::pair{4, 1.29}}) {
        moveTo(screen);
        const QImage shown = list->viewport()->grab().toImage();
        for (const auto& n : names) {
            const int row = list->lastRowWith(0, QString::fromUtf8(n.name), list->rowCount());
            ASSERT_EQ(list->cell(0, row), QString::fromUtf8(n.name));
            const QRect cell = list->visualItemRect(list->item(row - 1, 0)) & list->viewport()->rect();
            EXPECT_EQ(endsInEllipsis(shown, cell.adjusted(1, 1, -2, -2), ratio), n.cut)
                << n.name << " at " << ratio;
        }
    }
}

TEST_F(DrawnPictures, IconsAndSymbolsAreDrawnAtTheSizeAsked)
{
    const auto doubled = [](const QPixmap& fine, const QPixmap& coarse) {
        return fine.toImage().convertToFormat(QImage::Format_ARGB32) ==
               coarse.toImage().scaled(fine.size()).convertToFormat(QImage::Format_ARGB32);
    };
    for (const pictures::Button b : {pictures::Button::Help, pictures::Button::Printer,
                                     pictures::Button::Tools, pictures::Button::Exit}) {
        const QIcon icon = pictures::buttonGlyph(b);
        EXPECT_EQ(icon.pixmap(QSize(30, 30), 2.0).size(), QSize(60, 60));
        EXPECT_FALSE(doubled(icon.pixmap(QSize(30, 30), 2.0), icon.pixmap(QSize(30, 30), 1.0)));
    }
    const QIcon word = pictures::categoryWord(QStringLiteral("Kohlenhydrat"));
    EXPECT_EQ(word.pixmap(QSize(86, 13), 1.5).size(), QSize(129, 20));
    EXPECT_FALSE(doubled(word.pixmap(QSize(86, 13), 2.0), word.pixmap(QSize(86, 13), 1.0)));
    EXPECT_EQ(symbols::quantityStrip(3, Qt::black, 2).size(), QSize(180, 82));
    EXPECT_FALSE(doubled(symbols::quantityStrip(3, Qt::black, 2), symbols::quantityStrip(3, Qt::black, 1)));
    EXPECT_FALSE(
        doubled(symbols::durationPicture(1, Qt::black, 2), symbols::durationPicture(1, Qt::black, 1)));
    for (int tile : {0, 5, 16, 19}) {
        const QImage fine = pictures::scaleTile(tile, 2);
        EXPECT_EQ(fine.size(), QSize(90, 90));
        EXPECT_EQ(fine.devicePixelRatio(), 2);
        EXPECT_NE(fine, pictures::scaleTile(tile, 1).scaled(90, 90));
    }
}

TEST_F(DrawnPictures, EveryTextIsReadableUnderLightAndDarkPalettes)
{
    for (const NamedPalette& named : palettes()) {
        SCOPED_TRACE(named.name);
        window->setPalette(named.palette);
        window->LabelOrdnerClick(5);
        window->grab().save(screenshot(QStringLiteral("palette-%1-statistics.png").arg(named.name)));
        window->LabelOrdnerClick(3);
        window->grab().save(screenshot(QStringLiteral("palette-%1-food.png").arg(named.name)));
        window->LabelOrdnerClick(4);
        window->grab().save(screenshot(QStringLiteral("palette-%1-activity.png").arg(named.name)));

        // The folder strip with folder 4 open: the date caption, and the
        // words of the open tab and of the closed ones.
        const QImage strip = window->ImageLinks1->canvas();
        const auto tabs = draw::tabPlaces(4);
        std::vector<std::pair<const char*, double>> left{
            {"Tagesdatum", textContrast(strip, {8, 6, 80, 13}, 1)}};
        for (int k = 0; k < 5; ++k)
            left.emplace_back("tab word", textContrast(strip, {38, tabs[k].pictureTop + 7, 66, 16}, 1));

        const QImage signs = window->ImageRechts1->canvas();
        std::vector<std::pair<const char*, double>> right{
            {"Tagesgewicht", textContrast(signs, {11, 6, 80, 12}, 1)},
            {"Energiebilanz", textContrast(signs, {11, 157, 80, 12}, 1)},
            {"Nahrung", textContrast(signs, {11, 174, 40, 25}, 1)},
            {"Aktivität", textContrast(signs, {61, 174, 38, 25}, 1)},
            {"MJ food", textContrast(signs, {6, 292, 44, 13}, 1)},
            {"MJ activity", textContrast(signs, {56, 292, 40, 13}, 1)},
            {"tube labels food", textContrast(signs, {25, 204, 26, 86}, 1)},
            {"tube labels activity", textContrast(signs, {77, 204, 22, 86}, 1)},
        };
        for (const int top : {319, 368, 418})
            right.emplace_back("nutrient caption", textContrast(signs, {11, top, 80, 12}, 1));
        for (const int top : {351, 400, 452})
            right.emplace_back("gram scale", textContrast(signs, {8, top, 90, 13}, 1));

        // The words of the side-bar buttons, up and down.
        std::vector<std::pair<const char*, double>> buttons;
        for (QToolButton* b : {window->SpeedButtonA[1], window->SpeedButtonA[4], window->SpeedButtonA[9]}) {
            const QImage shown = b->grab().toImage();
            buttons.emplace_back(b->isChecked() ? "word down" : "word up",
                                 textContrast(shown, shown.rect().adjusted(3, 2, -3, -2), 1));
        }

        // The labels of the duration symbols on the booking panel.
        const QImage panel = window->PanelFTB->grab().toImage();
        std::vector<std::pair<const char*, double>> symbolLabels;
        for (int k = 1; k <= 11; ++k) {
            const QRect holder = window->PanelFDrag[k]->geometry();
            symbolLabels.emplace_back("duration label",
                                      textContrast(panel, {holder.left(), holder.top() + 30, 30, 11}, 1));
        }

        // The chart keeps its own white ground and black texts.
        window->LabelOrdnerClick(5);
        const QImage chart = window->ImageStatistik1->canvas();
        const std::vector<std::pair<const char*, double>> chartTexts{
            {"axis labels", textContrast(chart, {483, 2, 28, 480}, 1)}};

        for (const auto& [picture, texts] : {std::pair{"folder strip", left},
                                             {"signs", right},
                                             {"side-bar words", buttons},
                                             {"duration symbols", symbolLabels},
                                             {"chart", chartTexts}}) {
            double lowest = 21;
            for (const auto& [what, contrast] : texts) {
                EXPECT_GE(contrast, contrast::kTextContrast) << picture << ": " << what;
                lowest = std::min(lowest, contrast);
            }
            std::printf("contrast %s, %s: lowest %.2f : 1\n", named.name, picture, lowest);
        }
    }
}

TEST_F(DrawnPictures, ThePressedButtonOfEveryGroupShowsUnderEveryPalette)
{
    const auto group = [](const auto& buttons) {
        return std::vector<QToolButton*>(buttons.begin() + 1, buttons.end());
    };
    for (const NamedPalette& named : palettes()) {
        SCOPED_TRACE(named.name);
        window->setPalette(named.palette);
        for (const std::vector<QToolButton*>& buttons :
             {group(window->SpeedButtonS), group(window->SpeedButtonN), group(window->SpeedButtonA),
              group(window->SpeedButtonT)}) {
            // The same word down and up: where the two differ, the pressed
            // state must stand out as a mark does.
            QToolButton* word = buttons[1];
            word->setChecked(true);
            const QImage down = word->grab().toImage();
            buttons[0]->setChecked(true);
            ASSERT_FALSE(word->isChecked());
            const QImage up = word->grab().toImage();
            double most = 1;
            for (int y = 0; y < down.height(); ++y)
                for (int x = 0; x < down.width(); ++x)
                    most =
                        std::max(most, contrast::contrastRatio(rgb(down.pixel(x, y)), rgb(up.pixel(x, y))));
            EXPECT_GE(most, contrast::kMarkContrast) << word->text().toStdString();
            std::printf("pressed %s, %s: %.2f : 1\n", named.name, qPrintable(word->text()), most);
        }
    }
}

TEST_F(DrawnPictures, EveryWindowsTextsAndMarksAreReadableUnderLightAndDarkPalettes)
{
    THelpForm1 help;
    TToolForm1 tools(*window);
    window->setSideWindows(&help, &tools);
    const QPalette desktop = QApplication::palette();
    for (const NamedPalette& named : palettes()) {
        SCOPED_TRACE(named.name);
        QApplication::setPalette(named.palette);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->palette() == QApplication::palette(); }));
        std::vector<std::pair<const char*, Lowest>> windows;
        Lowest& main = windows.emplace_back("main window", Lowest()).second;
        for (int folder = 1; folder <= 5; ++folder) {
            window->LabelOrdnerClick(folder);
            main.measure(window.get());
        }
        QTest::keyClick(window->DateTimePicker, Qt::Key_F4);
        QWidget* popup = window->DateTimePicker->calendarWidget()->window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
        windows.emplace_back("calendar", Lowest()).second.measure(popup);
        popup->close();
        tools.show();
        Lowest& toolsLowest = windows.emplace_back("tools window", Lowest()).second;
        for (int tab = 0; tab < 3; ++tab) {
            tools.TabControlTools->setCurrentIndex(tab);
            tools.TabControlToolsChange();
            toolsLowest.measure(&tools);
        }
        tools.close();
        help.show();
        windows.emplace_back("help window", Lowest()).second.measure(&help);
        help.close();
        for (const auto& [name, lowest] : windows) {
            EXPECT_GE(lowest.text, contrast::kTextContrast) << name << ": " << lowest.textAt;
            EXPECT_GE(lowest.mark, contrast::kMarkContrast) << name << ": a radio button's ring";
            std::printf("contrast %s, %s: text %.2f : 1 (%s)", named.name, name, lowest.text,
                        lowest.textAt.c_str());
            std::printf(lowest.mark < 21 ? ", rings %.2f : 1\n" : "\n", lowest.mark);
        }
    }
    QApplication::setPalette(desktop);
}
