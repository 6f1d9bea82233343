#include "controls/platform.h"

#include "controls/rules/placement.h"
#include "store/clock.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

#include <alsa/asoundlib.h>
#include <canberra.h>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

// The sound file of the desktop's sound theme for an event. libcanberra
// would look the event up itself, but its lookup keeps a cache file in
// ~/.cache, and the program writes nothing outside the diary folder; given
// the file, it plays it without a cache.
QString themeSoundFile(const char* event)
{
    for (const char* extension : {".oga", ".ogg", ".wav"}) {
        const QString found = QStandardPaths::locate(
            QStandardPaths::GenericDataLocation, QStringLiteral("sounds/freedesktop/stereo/%1%2")
                                                     .arg(QLatin1String(event), QLatin1String(extension)));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

// The sound library's messages: without a sound card every sound would
// print a screenful of them on standard error.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

ca_context* soundContext()
{
    static ca_context* context = [] {
        snd_lib_error_set_handler(ignoreAlsaMessage);
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS)
            return static_cast<ca_context*>(nullptr);
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME, "Kelvara", nullptr);
        return c;
    }();
    return context;
}

void playNow(Sound sound)
{
    ca_context* context = soundContext();
    const QByteArray file = QFile::encodeName(themeSoundFile(themeSound(sound)));
    if (!context || file.isEmpty() ||
        ca_context_play(context, 0, CA_PROP_MEDIA_FILENAME, file.constData(), CA_PROP_MEDIA_ROLE, "event",
                        nullptr) != CA_SUCCESS) {
        // The bell belongs to the window system, which only the user
        // interface thread may touch.
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app, [] { QApplication::beep(); }, Qt::QueuedConnection);
    }
}

// The sound system's start-up alone takes milliseconds: sounds are played
// one after another by a thread that waits for them.
class SoundThread
{
public:
    ~SoundThread()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

    void play(Sound sound)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_queue.push_back(sound);
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_one();
    }

    void setPlayer(std::function<void(Sound)> player)
    {
        const std::lock_guard lock(m_mutex);
        m_player = std::move(player);
    }

private:
    void run()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_queue.empty())
                return;
            const Sound sound = m_queue.front();
            m_queue.pop_front();
            const std::function<void(Sound)> player = m_player;
            lock.unlock();
            if (player)
                player(sound);
            else
                playNow(sound);
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Sound> m_queue;
    std::function<void(Sound)> m_player;
    bool m_stop = false;
    std::thread m_thread;
};

SoundThread& soundThread()
{
    static SoundThread thread;
    return thread;
}

// The frame a window manager puts around a window, in logical pixels of the
// desktop's scale, until it tells the real one: a title bar of 32 and thin
// borders, what most of them draw or less.
const QMargins kFrameGuess(2, 32, 2, 2);

// The frame around `window` as the window manager has drawn it; none while
// it has not framed the window yet, or while what Qt reads of the frame is
// not a frame around the window (a frame window not yet sized).
std::optional<QMargins> frameOf(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    if (frame == client || !frame.contains(client))
        return std::nullopt;
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

// Places its window again once the window manager has framed it, centred
// with the real frame; then goes, or with `always` stays to centre it after
// every change of its size (a message box sizes itself as it is shown).
class FramedPlacement : public QObject
{
public:
    explicit FramedPlacement(QWidget& window, bool always = false)
        : QObject(&window), m_window(window), m_always(always)
    {
        window.installEventFilter(this);
        // A window manager may frame a window where it already stands, and
        // no event tells of that: once the window is shown, the frame is
        // looked for until it is known (for five seconds at most).
        connect(&m_look, &QTimer::timeout, this, [this] {
            if (++m_looks > kLooks)
                m_look.stop();
            centre();
        });
        if (window.isVisible())
            m_look.start(50);
    }

    void centre()
    {
        const std::optional<QMargins> frame = frameOf(m_window);
        if (frame)
            m_look.stop();
        if (!frame && !m_always)
            return;
        const QMargins margins = frame.value_or(kFrameGuess);
        // Placed once per size and frame: a move of its own, rounded at a
        // fractional scale, must not start another.
        if (m_window.size() == m_placedSize && margins == m_placedMargins)
            return;
        m_placedSize = m_window.size();
        m_placedMargins = margins;
        const QRect available = m_window.screen()->availableGeometry();
        m_window.move(placement::place(available, m_window.size(), margins, 1.0).frameTopLeft);
        if (frame && !m_always) {
            m_window.removeEventFilter(this);
            deleteLater();
        }
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show)
            m_look.start(50);
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
            type == QEvent::WindowActivate)
            centre();
        return false;
    }

private:
    static constexpr int kLooks = 100;
    QWidget& m_window;
    bool m_always;
    QTimer m_look;
    int m_looks = 0;
    QSize m_placedSize;
    QMargins m_placedMargins;
};

// The program's texts break lines with carriage returns; the dialog wants
// line feeds.
QString displayed(const QString& text)
{
    QString shown = text;
    return shown.replace(u'\r', u'\n');
}

// A box over a window that is not on the screen (the main window at a
// failed start, not yet placed) would be centred on where that window is
// not: it is centred on the screen's work area instead.
QWidget* shownParent(QWidget* parent)
{
    return parent && parent->isVisible() ? parent : nullptr;
}

int execPlaced(QMessageBox& box)
{
    if (!box.parentWidget()) {
        // The box takes its size as it is shown.
        box.show();
        (new FramedPlacement(box, true))->centre();
    }
    return box.exec();
}

} // namespace

void MessageBeep(Sound sound)
{
    if (soundRecorder()) {
        soundRecorder()(sound);
        return;
    }
    soundThread().play(sound);
}

void setSoundPlayer(std::function<void(Sound)> player)
{
    soundThread().setPlayer(std::move(player));
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
                    shownParent(parent));
    execPlaced(box);
}

void showMessage(QWidget* parent, const QString& text, const QString& details)
{
    std::fprintf(stderr, "Kelvara: %s\n", qPrintable(details));
    std::fflush(stderr);
    if (dialogHandler()) {
        dialogHandler()(DialogKind::Message, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), displayed(text),
                    QMessageBox::Ok, shownParent(parent));
    box.setDetailedText(details);
    execPlaced(box);
}

bool askQuestion(QWidget* parent, const QString& text)
{
    if (dialogHandler())
        return dialogHandler()(DialogKind::Question, text);
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, shownParent(parent));
    box.setButtonText(QMessageBox::Yes, QStringLiteral("Ja"));
    box.setButtonText(QMessageBox::No, QStringLiteral("Nein"));
    box.setDefaultButton(QMessageBox::No);
    return execPlaced(box) == QMessageBox::Yes;
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

void allowX11Fallback()
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (chosen.startsWith("wayland") && !chosen.contains(';'))
        qputenv("QT_QPA_PLATFORM", chosen + ";xcb");
}

void fitScaleToScreen(int argc, char** argv, QSize client)
{
    double desired = 1;
    QRect available;
    {
        // Qt takes its own arguments out of the list it is given.
        int probeArgc = argc;
        std::vector<char*> probeArgv(argv, argv + argc);
        probeArgv.push_back(nullptr);
        const QGuiApplication probe(probeArgc, probeArgv.data());
        const QScreen* screen = QGuiApplication::primaryScreen();
        if (!screen)
            return;
        desired = screen->devicePixelRatio();
        // In device pixels: Qt keeps a screen's origin and scales its size.
        const QRect logical = screen->availableGeometry();
        available = QRect(logical.topLeft(), (QSizeF(logical.size()) * desired).toSize());
    }
    const double scale = placement::place(available, client, kFrameGuess * desired, desired).scale;
    if (scale >= desired)
        return;
    // QT_SCALE_FACTOR multiplies the desktop's own scale.
    bool set = false;
    double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&set);
    if (!set || factor <= 0)
        factor = 1;
    qputenv("QT_SCALE_FACTOR", QByteArray::number(factor * scale / desired, 'g', 6));
}

void placeOnScreen(QWidget& window)
{
    const QRect available = window.screen()->availableGeometry();
    window.move(placement::place(available, window.size(), kFrameGuess, 1.0).frameTopLeft);
    new FramedPlacement(window);
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
    return store::today();
}

void setToday(QDate day)
{
    store::setToday(day);
}

} // namespace platform
