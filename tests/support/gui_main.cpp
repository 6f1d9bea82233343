// The main of the window tests: one QApplication for the whole run, on the
// offscreen platform, with sounds and dialogs caught by the test seams. No
// print server of the machine is ever reached: tests that print start their
// own.

#include "controls/platform.h"

#include <QApplication>
#include <QLocale>
#ifdef KELVARA_TEST_SCREENS
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#endif

#include <gtest/gtest.h>

#include <cmath>

int main(int argc, char** argv)
{
#ifdef KELVARA_TEST_SCREENS
    // Five screens side by side at the device pixel ratios of common
    // desktops, 1, 1.25, 1.5 and 2, and 1.29 (the scale the program chooses
    // for itself on a 1366 x 768 screen at 150 %), each 1600 x 1000 logical
    // pixels: a window is moved between them as a user drags it.
    QTemporaryDir screens;
    QFile config(screens.filePath(QStringLiteral("screens.json")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    QJsonArray list;
    int x = 0;
    for (const double ratio : {1.0, 1.25, 1.5, 2.0, 1.29}) {
        const int width = static_cast<int>(1600 * ratio);
        list.append(QJsonObject{{"name", QStringLiteral("%1: x%2").arg(list.size()).arg(ratio)},
                                {"x", x},
                                {"y", 0},
                                {"width", width},
                                {"height", static_cast<int>(1000 * ratio)},
                                {"logicalDpi", std::round(96 * ratio)},
                                {"logicalBaseDpi", 96}});
        x += width;
    }
    config.write(QJsonDocument(QJsonObject{{"screens", list}}).toJson());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
#else
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    qputenv("CUPS_SERVER", "/nonexistent/kelvara-tests/cups.sock");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    platform::setSaveDialogHandler([](const QString&) { return QString(); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
