// The main of the window tests: one QApplication for the whole run, on the
// offscreen platform, with sounds and dialogs caught by the test seams.

#include "main/platform.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    platform::setSoundRecorder([](platform::Sound) {});
    platform::setDialogHandler([](platform::DialogKind, const QString&) { return false; });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
