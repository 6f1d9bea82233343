#pragma once

#include <QString>
#include <functional>

class QWidget;

// What assistive tools see of controls that draw themselves: the folder
// tabs of the main window and its pictures. Each call replaces the
// interface the toolkit would give the widget, so it is made before the
// widget is first named or shown.
namespace accessibility {

// `widget` is a page tab: selected while `selected()` holds, with a press
// action that runs `press` (as a click on it does).
void makePageTab(QWidget* widget, std::function<bool()> selected, std::function<void()> press);

// `widget` is a picture whose description is `describe()`, asked for anew
// each time a tool reads it. When the picture is painted anew and the text
// has changed, the tools are told.
void makePicture(QWidget* widget, std::function<QString()> describe);

// `window` is a window (a frame to the desktop's tools) rather than a
// plain pane.
void makeWindow(QWidget* window);

// Tells the tools that the selected state of page tab `widget` may have
// changed.
void pageTabChanged(QWidget* widget);

} // namespace accessibility
