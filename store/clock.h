#pragma once

#include <QDate>

// The program's one clock: the day the program opens on, the day every
// table file the store writes carries in its header, and the day a new
// diary is laid out on. Tests fix it, so that what is written and shown
// does not depend on the hour they run at.
namespace store {

// Today's date from the system clock, or the day a test fixed.
QDate today();
// Tests: a fixed today; an invalid date returns to the system clock.
void setToday(QDate day);

} // namespace store
