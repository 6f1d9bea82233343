// ZEBInstall: lays out a new diary in a folder.
//
//   ZEBInstall DIR          a fresh diary
//   ZEBInstall --demo DIR   a diary filled with eleven years of use

#include "install/installer.h"
#include "store/error.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool demo = args.removeAll(QStringLiteral("--demo")) > 0;
    QTextStream err(stderr);
    QTextStream out(stdout);
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        err << "Aufruf: ZEBInstall [--demo] VERZEICHNIS\n";
        return 2;
    }
    const QString dir = args.first();
    try {
        install::layOutDiary(dir, demo ? install::Content::Demo : install::Content::Fresh);
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
