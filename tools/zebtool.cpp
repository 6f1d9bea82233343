#include "tools/zebtool.h"

TToolForm1::TToolForm1(TFormMain1& main, QWidget* parent) : QWidget(parent, Qt::Window), m_main(main)
{
    setWindowTitle(QStringLiteral("Tools für Kelvara [1.02f]"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(610, 398);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
}
