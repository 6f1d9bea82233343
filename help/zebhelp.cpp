#include "help/zebhelp.h"

THelpForm1::THelpForm1(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Hilfe für Kelvara [1.02f]"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(610, 398);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
}
