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

int main(int argc, char* argv[])
{
    // A laptop's screen at 150 % or 200 % may be too small for the main
    // window at the desktop's scale.
    platform::fitScaleToScreen(argc, argv, QSize(780, 554));
    QApplication app(argc, argv);
    // The application title "Kelvara" is the name only: a display name would
    // be appended to every window title by the window system integration.
    QApplication::setApplicationName(QStringLiteral("Kelvara"));
    QApplication::setDesktopFileName(QStringLiteral("org.kelvara.Kelvara"));
    QApplication::setWindowIcon(appicon::icon());
    platform::installQtTranslation();

    const NichtDoppeltStarten guard;
    if (!guard.acquired()) {
        platform::showMessage(nullptr, QStringLiteral("\"Kelvara\" läuft bereits !"));
        return 0;
    }

    TFormMain1 main(QDir::currentPath());
    THelpForm1 help;
    TToolForm1 tools(main);
    main.setSideWindows(&help, &tools);
    QObject::connect(&main, &TFormMain1::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    platform::placeOnScreen(main);
    platform::placeOnScreen(help);
    platform::placeOnScreen(tools);
    main.show();
    return app.exec();
}
