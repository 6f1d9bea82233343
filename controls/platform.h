#pragma once

#include <QDate>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

// The system services the windows use: sounds, message boxes and the clock.
// Each has a seam through which tests observe or set what happens.
namespace platform {

enum class Sound {
    DefaultBeep, // deletions, end of maintenance runs
    Information, // successful bookings, catalogue inserts and changes
    Exclamation  // start-up failures
};

// Plays the desktop theme's sound for the meaning (the plain bell where the
// theme has none). Returns at once: the sound is played by a thread of its
// own, in the order asked for, so that it never holds up the caller.
void MessageBeep(Sound sound);
// Tests: every sound asked for goes here instead of the speaker.
void setSoundRecorder(std::function<void(Sound)> recorder);
// Tests: the player thread hands its sounds here instead of to the sound
// system; an empty function returns to the sound system.
void setSoundPlayer(std::function<void(Sound)> player);

// A plain message with one OK button. Lines are joined by single carriage
// returns, as the program's texts are written.
void showMessage(QWidget* parent, const QString& text);
// The same with `details` behind the box's details button; they are written
// to standard error as well.
void showMessage(QWidget* parent, const QString& text, const QString& details);
// A question with Yes and No; true for Yes.
bool askQuestion(QWidget* parent, const QString& text);

enum class DialogKind { Message, Question };
// Tests: dialogs are answered here instead of being shown; the return value
// is the answer to a question.
void setDialogHandler(std::function<bool(DialogKind, const QString&)> handler);

// A file dialog for saving, opened on `proposed` (a full path); the chosen
// path, or an empty string when the user cancels.
QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter);
// Tests: save dialogs are answered here instead of being shown; the handler
// gets the proposed path and returns the chosen one.
void setSaveDialogHandler(std::function<QString(const QString& proposed)> handler);

// Makes `window` a window with a fixed single border, its caption, a system
// menu and a minimise button only, and a client area of `size`. The window
// system shows the caption exactly, with nothing appended, as long as the
// application has no display name of its own.
void makeFixedWindow(QWidget& window, const QString& caption, QSize size);

// Before anything connects to the window system: a Wayland platform named
// alone in QT_QPA_PLATFORM gets X11 as its fallback, so that a session
// without Qt's Wayland plugin, or without a compositor to talk to, runs the
// program through X11 instead of aborting it.
void allowX11Fallback();

// Chooses the program's scale before the application is created: where the
// desktop's scale would make a window of `client` logical pixels, with the
// window manager's frame, larger than the available area of the primary
// screen (panels and docks excluded), sets QT_SCALE_FACTOR so that the
// program draws itself at the largest scale that fits, never below 1. It
// looks at the screen through a connection to the window system of its own,
// closed again before it returns.
void fitScaleToScreen(int argc, char** argv, QSize client);

// Places `window`, not yet shown, centred on its screen with its frame inside
// the available area, title bar included; and once more when it is shown and
// the window manager has framed it, with the real frame.
void placeOnScreen(QWidget& window);

// Loads Qt's own texts (context menus, standard buttons, file dialogs) in the
// language of the default locale, when the system has a translation for it;
// English stays otherwise. Calling it again follows a changed locale.
void installQtTranslation();

// Today's date from the program's one clock (store/clock.h), which the
// store writes into the files as well.
QDate today();
// Tests: fixes that clock; an invalid date returns to the system clock.
void setToday(QDate day);

} // namespace platform
