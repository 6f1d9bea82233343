#include "tools/zebtool.h"

#include "main/platform.h"

TToolForm1::TToolForm1(TFormMain1& main, QWidget* parent) : QWidget(parent, Qt::Window), m_main(main)
{
    platform::makeFixedWindow(*this, QStringLiteral("Tools für Kelvara [1.02f]"), QSize(610, 398));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
}
