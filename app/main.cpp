// ZEB2006.exe: the program. It works on the diary in its working folder and
// takes no arguments.

#include "app/endsignals.h"
#include "app/nichtdoppeltstarten.h"
#include "controls/platform.h"
#include "help/zebhelp.h"
#include "main/zeb6.h"
#include "res/icon/appicon.h"
#include "tools/zebtool.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSessionManager>

#include <cstdio>

int main(int argc, char* argv[])
{
    platform::allowX11Fallback();
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

    const NichtDoppeltStarten guard(QFile::encodeName(QDir::currentPath()).toStdString());
    if (!guard.acquired()) {
        const QString text =
            guard.problem().empty()
                ? QStringLiteral("\"Kelvara\" läuft bereits !")
                : QStringLiteral("Kelvara kann nicht prüfen, ob es bereits läuft: Die Sperrdatei „%1“ %2.\r"
                                 "=> Entfernen Sie sie und starten Sie Kelvara erneut.")
                      .arg(QFile::decodeName(guard.place().c_str()), QString::fromStdString(guard.problem()));
        std::fprintf(stderr, "Kelvara: %s (%s)\n", qPrintable(text), guard.place().c_str());
        std::fflush(stderr);
        platform::showMessage(nullptr, text);
        return 0;
    }

    // A logout, `kill` or a closed terminal ends the program as its end
    // button does: the settings are written and the tables closed. Input
    // the window system delivered before the signal is taken in first.
    // During a start-up message the signal acts as its OK.
    EndSignals endSignals;
    TFormMain1* mainWindow = nullptr;
    bool endRequested = false;
    QObject::connect(&endSignals, &EndSignals::received, &app, [&] {
        if (endRequested)
            return;
        endRequested = true;
        QGuiApplication::sync();
        if (mainWindow)
            mainWindow->close();
        else
            QCoreApplication::exit(0);
    });

    TFormMain1 main(QDir::currentPath());
    mainWindow = &main;
    THelpForm1 help;
    help.showDiaryRange(&main.range());
    TToolForm1 tools(main);
    main.setSideWindows(&help, &tools);
    QObject::connect(&main, &TFormMain1::closed, &app, &QApplication::quit, Qt::QueuedConnection);
    // The session manager's end: the settings are saved when it asks, and
    // an end of the program by any other road closes the window normally.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &main,
                     [&main](QSessionManager&) { main.saveChangedSettings(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &main, &QWidget::close);
    platform::placeOnScreen(main);
    platform::placeOnScreen(help);
    platform::placeOnScreen(tools);
    main.show();
    if (endRequested)
        main.close();
    return app.exec();
}
