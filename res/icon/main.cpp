// KelvaraIcon DIR: writes the program's icon into DIR as the desktop's icon
// theme lays it out: hicolor/scalable/apps/kelvara.svg and
// hicolor/NxN/apps/kelvara.png for every size.

#include "res/icon/appicon.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: KelvaraIcon VERZEICHNIS\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString scalable = root.filePath(QStringLiteral("hicolor/scalable/apps"));
    if (!QDir().mkpath(scalable))
        return 1;
    QFile svg(scalable + QStringLiteral("/kelvara.svg"));
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    if (svg.write(appicon::svg().toUtf8()) < 0)
        return 1;
    svg.close();
    for (int size : appicon::kSizes) {
        const QString dir = root.filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size));
        if (!QDir().mkpath(dir) || !appicon::render(size).save(dir + QStringLiteral("/kelvara.png")))
            return 1;
    }
    return 0;
}
