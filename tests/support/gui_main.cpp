// The main of the window tests: one QApplication for the whole run, on the
// offscreen platform, with sounds and dialogs caught by the test seams. No
// print server of the machine is ever reached: tests that print start their
// own.

#include "main/platform.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
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
