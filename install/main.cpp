// ZEBInstall: lays out a new diary in a folder.
//
//   ZEBInstall DIR                     a fresh diary of 2002 to 2012, as the
//                                      original data files have it
//   ZEBInstall --first-year YYYY DIR   a fresh diary of the eleven years
//                                      from 1 January YYYY
//   ZEBInstall --demo DIR              a diary of 2002 to 2012 filled with
//                                      eleven years of use

#include "install/installer.h"
#include "store/clock.h"
#include "store/error.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    int firstYear = install::kOriginalFirstYear;
    QDate today;
    const qsizetype yearAt = args.indexOf(QStringLiteral("--first-year"));
    if (yearAt >= 0 && yearAt + 1 < args.size()) {
        // Text that is no number reads as 0, which the installer refuses.
        firstYear = args.takeAt(yearAt + 1).toInt();
        args.removeAt(yearAt);
        today = store::today();
    }
    QTextStream err(stderr);
    QTextStream out(stdout);
    if (args.size() != 1 || args.first().startsWith(u'-') || (demo && today.isValid())) {
        err << "Aufruf: ZEBInstall [--demo | --first-year JAHR] VERZEICHNIS\n";
        return 2;
    }
    const QString dir = args.first();
    try {
        install::layOutDiary(dir, demo ? install::Content::Demo : install::Content::Fresh, firstYear, today);
    } catch (const store::StoreError& e) {
        err << e.text() << '\n';
        return 1;
    } catch (const std::exception& e) {
        err << QString::fromStdString(e.what()) << '\n';
        return 1;
    }
    out << (demo ? "Beispiel-Tagebuch angelegt in " : "Neues Tagebuch angelegt in ") << dir << '\n';
    return 0;
}
