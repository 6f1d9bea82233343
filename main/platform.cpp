#include "main/platform.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QFileDialog>
#include <QMessageBox>
#include <QTranslator>

#include <canberra.h>

namespace platform {
namespace {

std::function<void(Sound)>& soundRecorder()
{
    static std::function<void(Sound)> recorder;
    return recorder;
}

std::function<bool(DialogKind, const QString&)>& dialogHandler()
{
    static std::function<bool(DialogKind, const QString&)> handler;
    return handler;
}

std::function<QString(const QString&)>& saveDialogHandler()
{
    static std::function<QString(const QString&)> handler;
    return handler;
}

QDate& fixedToday()
{
    static QDate day;
    return day;
}

const char* themeSound(Sound sound)
{
    switch (sound) {
    case Sound::Information:
        return "dialog-information";
    case Sound::Exclamation:
        return "dialog-warning";
    case Sound::DefaultBeep:
        break;
    }
    return "bell";
}

ca_context* soundContext()
{
    static ca_context* context = [] {
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS)
            return static_cast<ca_context*>(nullptr);
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Kelvara", nullptr);
        return c;
    }();
    return context;
}

// The program's texts break lines with carriage returns; the dialog wants
// line feeds.
QString displayed(const QString& text)
{
    QString shown = text;
    return shown.replace(u'\r', u'\n');
}

} // namespace

void MessageBeep(Sound sound)
{
    if (soundRecorder()) {
        soundRecorder()(sound);
        return;
    }
    ca_context* context = soundContext();
    if (!context || ca_context_play(context, 0, CA_PROP_EVENT_ID, themeSound(sound), nullptr) != CA_SUCCESS)
        QApplication::beep();
}

void setSoundRecorder(std::function<void(Sound)> recorder)
{
    soundRecorder() = std::move(recorder);
}

void showMessage(QWidget* parent, const QString& text)
{
    if (dialogHandler()) {
        dialogHandler()(DialogKind::Message, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), displayed(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool askQuestion(QWidget* parent, const QString& text)
{
    if (dialogHandler())
        return dialogHandler()(DialogKind::Question, text);
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Ja"));
    box.setButtonText(QMessageBox::No, QStringLiteral("Nein"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void setDialogHandler(std::function<bool(DialogKind, const QString&)> handler)
{
    dialogHandler() = std::move(handler);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed, const QString& filter)
{
    if (saveDialogHandler())
        return saveDialogHandler()(proposed);
    return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
}

void setSaveDialogHandler(std::function<QString(const QString& proposed)> handler)
{
    saveDialogHandler() = std::move(handler);
}

void makeFixedWindow(QWidget& window, const QString& caption, QSize size)
{
    window.setWindowTitle(caption);
    // Without CustomizeWindowHint the window manager is told no decorations
    // and draws its full set, the maximise button included.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setFixedSize(size);
}

void installQtTranslation()
{
    static QTranslator* translator = nullptr;
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    auto* loaded = new QTranslator(QCoreApplication::instance());
    if (!loaded->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
}

QDate today()
{
    return fixedToday().isValid() ? fixedToday() : QDate::currentDate();
}

void setToday(QDate day)
{
    fixedToday() = day;
}

} // namespace platform
