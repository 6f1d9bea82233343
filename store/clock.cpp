#include "store/clock.h"

namespace store {
namespace {

QDate& fixedToday()
{
    static QDate day;
    return day;
}

} // namespace

QDate today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void setToday(QDate day)
{
    fixedToday() = day;
}

} // namespace store
