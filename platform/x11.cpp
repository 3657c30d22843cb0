#include "platform/x11.h"

#include "platform/windowing.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>
#include <xcb/xcb_xrm.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <map>
#include <memory>
#include <thread>

namespace morvantel::x11 {
namespace {

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> Own(Reply* reply)
{
    return {reply, &std::free};
}

using ResourceDatabase = std::unique_ptr<xcb_xrm_database_t, decltype(&xcb_xrm_database_free)>;

// The screen of the display the program runs on, as $DISPLAY names it (:0.1
// is screen 1), where Qt opens its windows.
int DisplayScreen(int screens)
{
    char* host = nullptr;
    int display = 0, screen = 0;
    const bool parsed = xcb_parse_display(nullptr, &host, &display, &screen);
    std::free(host);
    return parsed && screen < screens ? screen : 0;
}

// Qt's connection to the X server, with the window manager hints' atoms,
// interned together in one round trip when first needed. Null off X11.
struct Connection
{
    xcb_ewmh_connection_t ewmh{};
    int screen = 0;
    xcb_window_t root = XCB_WINDOW_NONE;
    // Hints of KDE's and of Motif's, which no library names.
    xcb_atom_t skipSwitcher = XCB_ATOM_NONE, motifHints = XCB_ATOM_NONE;
};

xcb_atom_t Interned(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie)
{
    const auto reply = Own(xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

Connection* X11()
{
    static Connection* const x11 = []() -> Connection* {
        // The offscreen platform has the interface too, without a connection.
        const auto* native = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* connection = native ? native->connection() : nullptr;
        if (!connection)
            return nullptr;
        auto* opened = new Connection;
        xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection, &opened->ewmh);
        const auto intern = [connection](const char* name) {
            // Atom names are short, well inside the protocol's 16 bits.
            return xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
        };
        const xcb_intern_atom_cookie_t skipSwitcher = intern("_KDE_NET_WM_STATE_SKIP_SWITCHER");
        const xcb_intern_atom_cookie_t motifHints = intern("_MOTIF_WM_HINTS");
        if (!xcb_ewmh_init_atoms_replies(&opened->ewmh, cookies, nullptr)) {
            delete opened;
            return nullptr;
        }
        opened->skipSwitcher = Interned(connection, skipSwitcher);
        opened->motifHints = Interned(connection, motifHints);
        opened->screen = DisplayScreen(opened->ewmh.nb_screens);
        opened->root = opened->ewmh.screens[opened->screen]->root;
        return opened;
    }();
    return x11;
}

xcb_window_t NativeWindow(QWidget* window)
{
    return static_cast<xcb_window_t>(window->winId());
}

// The window a running window manager names as its check; none where no
// manager runs. One that has gone leaves its _NET_SUPPORTED and the name of
// its check window behind on the root window; only a running one keeps that
// window, which names itself.
xcb_window_t WindowManagerCheck(Connection& x11)
{
    xcb_window_t named = XCB_WINDOW_NONE, itself = XCB_WINDOW_NONE;
    if (!xcb_ewmh_get_supporting_wm_check_reply(
            &x11.ewmh, xcb_ewmh_get_supporting_wm_check(&x11.ewmh, x11.root), &named, nullptr) ||
        !xcb_ewmh_get_supporting_wm_check_reply(
            &x11.ewmh, xcb_ewmh_get_supporting_wm_check(&x11.ewmh, named), &itself, nullptr) ||
        itself != named)
        return XCB_WINDOW_NONE;
    return named;
}

bool WindowManagerSupports(Connection& x11, xcb_atom_t hint)
{
    if (WindowManagerCheck(x11) == XCB_WINDOW_NONE)
        return false;
    xcb_ewmh_get_atoms_reply_t supported{};
    if (!xcb_ewmh_get_supported_reply(&x11.ewmh, xcb_ewmh_get_supported(&x11.ewmh, x11.screen),
                                      &supported, nullptr))
        return false;
    const bool found = std::find(supported.atoms, supported.atoms + supported.atoms_len, hint) !=
                       supported.atoms + supported.atoms_len;
    xcb_ewmh_get_atoms_reply_wipe(&supported);
    return found;
}

// The border the window manager has put on the window, in the window's own
// pixels; nothing where it has put none yet. Whether it can be a border on the
// screen is for the placement to judge; here only figures too large for any
// screen are turned away, before they overflow a QMargins.
std::optional<QMargins> BorderOn(Connection& x11, QWidget* window)
{
    xcb_ewmh_get_extents_reply_t extents{};
    if (!xcb_ewmh_get_frame_extents_reply(
            &x11.ewmh, xcb_ewmh_get_frame_extents(&x11.ewmh, NativeWindow(window)), &extents,
            nullptr))
        return std::nullopt;
    if (std::max({extents.left, extents.right, extents.top, extents.bottom}) > 0xFFFF)
        return std::nullopt;
    // The manager counts device pixels.
    const qreal ratio = window->devicePixelRatioF();
    const auto scaled = [ratio](std::uint32_t pixels) { return qRound(pixels / ratio); };
    return QMargins(scaled(extents.left), scaled(extents.top), scaled(extents.right),
                    scaled(extents.bottom));
}

// Windows waiting for another border than the one known, which the window
// manager sets when it frames them, followed in the X events that reach the
// program.
class BorderWatch : public QAbstractNativeEventFilter
{
public:
    static BorderWatch& Instance()
    {
        static BorderWatch* const watch = [] {
            auto* created = new BorderWatch;
            qApp->installNativeEventFilter(created);
            return created;
        }();
        return *watch;
    }

    void WaitForBorder(QWidget* window, QMargins known, std::function<void(QMargins)> changed)
    {
        std::erase_if(waiting_, [](const auto& entry) { return entry.second.window.isNull(); });
        waiting_[NativeWindow(window)] = {window, known, std::move(changed)};
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        Connection* x11 = X11();
        if (eventType != "xcb_generic_event_t" || !x11)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (notify->atom == x11->ewmh._NET_FRAME_EXTENTS && notify->state == XCB_PROPERTY_NEW_VALUE)
            BorderArrived(*x11, notify->window);
        return false;
    }

private:
    void BorderArrived(Connection& x11, xcb_window_t native)
    {
        const auto found = waiting_.find(native);
        if (found == waiting_.end() || !found->second.window)
            return;
        const auto border = BorderOn(x11, found->second.window);
        if (!border || *border == found->second.known)
            return;
        Waiting waiting = std::move(found->second);
        waiting_.erase(found);
        // Later, not in the middle of Qt's handling of X events.
        QMetaObject::invokeMethod(
            waiting.window, [changed = std::move(waiting.changed), border] { changed(*border); },
            Qt::QueuedConnection);
    }

    struct Waiting
    {
        QPointer<QWidget> window;
        QMargins known;
        std::function<void(QMargins)> changed;
    };
    std::map<xcb_window_t, Waiting> waiting_;
};

} // namespace
} // namespace morvantel::x11

namespace morvantel::windowing {

using namespace x11;

void KeepOutOfWindowLists(QWidget* window)
{
    Connection* x11 = X11();
    if (!x11)
        return;
    // Qt adds its own states to these when it maps the window. KWin keeps a
    // window out of its switcher only when told so in a state of its own.
    xcb_atom_t states[] = {x11->ewmh._NET_WM_STATE_SKIP_TASKBAR, x11->ewmh._NET_WM_STATE_SKIP_PAGER,
                           x11->skipSwitcher};
    xcb_ewmh_set_wm_state(&x11->ewmh, NativeWindow(window), std::size(states), states);
    xcb_flush(x11->ewmh.connection);
}

void FixInPlace(QWidget* window)
{
    Connection* x11 = X11();
    if (!x11)
        return;
    // Motif window manager hints: which functions and decorations are given.
    enum : std::uint32_t { Functions = 1, Decorations = 2, FunctionClose = 32 };
    const std::uint32_t hints[5] = {Functions | Decorations, FunctionClose, 0, 0, 0};
    xcb_change_property(x11->ewmh.connection, XCB_PROP_MODE_REPLACE, NativeWindow(window),
                        x11->motifHints, x11->motifHints, 32, std::size(hints), hints);
    xcb_flush(x11->ewmh.connection);
}

void ClearName(QWidget* window)
{
    Connection* x11 = X11();
    if (!x11)
        return;
    xcb_icccm_set_wm_name(x11->ewmh.connection, NativeWindow(window), XCB_ATOM_STRING, 8, 0, "");
    xcb_ewmh_set_wm_name(&x11->ewmh, NativeWindow(window), 0, "");
    xcb_flush(x11->ewmh.connection);
}

std::optional<QMargins> FrameBorder(QWidget* window)
{
    Connection* x11 = X11();
    // A window manager that left the question unanswered once will leave it
    // so again; each window would only wait for nothing.
    static bool leftUnanswered = false;
    if (!x11 || leftUnanswered ||
        !WindowManagerSupports(*x11, x11->ewmh._NET_REQUEST_FRAME_EXTENTS))
        return std::nullopt;
    xcb_ewmh_request_frame_extents(&x11->ewmh, x11->screen, NativeWindow(window));
    xcb_flush(x11->ewmh.connection);

    // The window manager answers by setting the property on the window, at
    // once where it answers at all; on a busy machine that may take a few
    // hundred milliseconds, and a window centred without its border would
    // have to move once it shows.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    do {
        if (const auto border = BorderOn(*x11, window))
            return border;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < deadline);
    leftUnanswered = true;
    return std::nullopt;
}

void WhenFrameBorderChanges(QWidget* window, QMargins known, std::function<void(QMargins)> changed)
{
    if (X11())
        BorderWatch::Instance().WaitForBorder(window, known, std::move(changed));
}

} // namespace morvantel::windowing

namespace morvantel::x11 {
namespace {

// Xft.dpi in a resource database, as Xft reads it.
std::optional<double> FontDpiOf(xcb_xrm_database_t* resources)
{
    char* value = nullptr;
    if (!resources || xcb_xrm_resource_get_string(resources, "Xft.dpi", nullptr, &value) < 0)
        return std::nullopt;
    bool isNumber = false;
    const double dpi = QByteArray(value).trimmed().toDouble(&isNumber);
    std::free(value);
    return isNumber ? std::optional(dpi) : std::nullopt;
}

// Opens the display and reads what the program needs of it; this may wait
// for ever on a server that took the connection and stopped.
Server AskServer()
{
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, &screenNumber), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return {};
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    for (int i = 0; i < screenNumber && screen.rem > 1; ++i)
        xcb_screen_next(&screen);
    const ResourceDatabase resources(
        xcb_xrm_database_from_resource_manager(connection.get(), screen.data),
        &xcb_xrm_database_free);
    return {Server::Reach::Opened, FontDpiOf(resources.get())};
}

} // namespace

std::optional<double> FontDpiIn(const QByteArray& resources)
{
    const ResourceDatabase database(xcb_xrm_database_from_string(resources.constData()),
                                    &xcb_xrm_database_free);
    return FontDpiOf(database.get());
}

Server OpenDisplay(std::chrono::milliseconds patience)
{
    // Asked on a thread of its own, so that a server that never answers keeps
    // only that thread waiting, which ends with the program.
    std::packaged_task<Server()> ask(AskServer);
    std::future<Server> answer = ask.get_future();
    std::thread(std::move(ask)).detach();
    if (answer.wait_for(patience) == std::future_status::timeout)
        return {Server::Reach::Silent, std::nullopt};
    return answer.get();
}

} // namespace morvantel::x11
