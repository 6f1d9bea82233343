// ZEB2006.exe: the program. It works on the diary in its working folder and
// takes no arguments.

#include "app/nichtdoppeltstarten.h"
#include "help/zebhelp.h"
#include "main/platform.h"
#include "main/zeb6.h"
#include "res/icon/appicon.h"
#include "tools/zebtool.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

#include <cstdio>

namespace {

void centre(QWidget& window)
{
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.center() - window.rect().center());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The application title "Kelvara" is the name only: a display name would
    // be appended to every window title by the window system integration.
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QApplication::setDesktopFileName(QStringLiteral("org.kelvara.Kelvara"));
    QApplication::setWindowIcon(appicon::icon());
    platform::installQtTranslation();

    const NichtDoppeltStarten guard;
    if (!guard.acquired()) {
        const QString text = QStringLiteral("\"Kelvara\" läuft bereits !");
        std::fprintf(stderr, "Kelvara: %s (%s)\n", qPrintable(text), guard.place().c_str());
        std::fflush(stderr);
        platform::showMessage(nullptr, text);
        return 0;
    }

    TFormMain1 main(QDir::currentPath());
    THelpForm1 help;
    TToolForm1 tools(main);
    main.setSideWindows(&help, &tools);
    QObject::connect(&main, &TFormMain1::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    centre(main);
    centre(help);
    centre(tools);
    main.show();
    return app.exec();
}
