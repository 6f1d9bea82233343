// The third tab of the tools window: the diary maintenance runs.

#include "tools/zebtool.h"

void TToolForm1::BaueVerwaltenPanel()
{
}

void TToolForm1::VerwaltenFormShow()
{
}

void TToolForm1::VerwaltenFormClose()
{
}
