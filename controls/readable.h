#pragma once

#include <QColor>
#include <QPalette>

#include <functional>

class QCalendarWidget;
class QRadioButton;
class QWidget;

// The desktop's colours kept readable in the program's windows: a text at
// 4.5 : 1 against what it lies on, the ring of a radio button at 3 : 1
// against the window. A colour that falls short is shaded as little as
// needed (contrast::readableShade), to half a point above the mark: text is
// drawn smoothed, and small figures show their colour only in the cores of
// their strokes. A disabled control's text needs nothing.
namespace readable {

// `palette` with each text readable on its background in the active and
// inactive groups: the text shaded on the window, a button or a field; the
// selection shaded behind its text.
QPalette corrected(const QPalette& palette);

// The application's palette corrected now and at every change the desktop
// makes to it. Once per program; again does nothing.
void keepApplicationPalette();

// Runs `fit` on `widget` now and whenever its palette changes.
void follow(QWidget& widget, std::function<void(QWidget&)> fit);

// `button` draws its text in a shade of `designed` readable on its face as
// the style draws it (up to half again lighter than the palette's button
// colour), under whatever palette it gets.
void keepCaption(QWidget& button, const QColor& designed);

// The calendar's days of other months (in the disabled text colour) and its
// weekend days (red) readable on its days and on its row of weekday names,
// under whatever palette it gets.
void keepCalendar(QCalendarWidget& calendar);

// The button's ring drawn in a shade of the style's own that stands out
// from the window.
void ringReadably(QRadioButton& button);

} // namespace readable
