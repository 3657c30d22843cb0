#include "platform/x11.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <thread>
#include <vector>
#endif

namespace morvantel::x11 {

#if QT_CONFIG(xcb)
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;
template <typename Reply> ReplyPtr<Reply> Own(Reply* reply)
{
    return {reply, &std::free};
}

xcb_connection_t* Connection()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The atoms the program names, in the order of their names below.
enum class Name {
    NetWmState,
    SkipTaskbar,
    SkipPager,
    SkipSwitcher,
    MotifWmHints,
    NetWmName,
    Utf8String,
    NetSupported,
    SupportingWmCheck,
    RequestFrameExtents,
    FrameExtents,
};
constexpr const char* atomNames[] = {
    "_NET_WM_STATE",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_STATE_SKIP_PAGER",
    "_KDE_NET_WM_STATE_SKIP_SWITCHER",
    "_MOTIF_WM_HINTS",
    "_NET_WM_NAME",
    "UTF8_STRING",
    "_NET_SUPPORTED",
    "_NET_SUPPORTING_WM_CHECK",
    "_NET_REQUEST_FRAME_EXTENTS",
    "_NET_FRAME_EXTENTS",
};
constexpr std::size_t atomCount = std::size(atomNames);

// All interned at once, so that the start waits for the X server only once.
xcb_atom_t Atom(xcb_connection_t* connection, Name name)
{
    static const std::array<xcb_atom_t, atomCount> atoms = [connection] {
        std::array<xcb_intern_atom_cookie_t, atomCount> cookies{};
        for (std::size_t i = 0; i < atomCount; ++i)
            cookies[i] = xcb_intern_atom(connection, 0, std::strlen(atomNames[i]), atomNames[i]);
        std::array<xcb_atom_t, atomCount> interned{};
        for (std::size_t i = 0; i < atomCount; ++i) {
            const auto reply = Own(xcb_intern_atom_reply(connection, cookies[i], nullptr));
            interned[i] = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        }
        return interned;
    }();
    return atoms[static_cast<std::size_t>(name)];
}

xcb_window_t NativeWindow(QWidget* window)
{
    return static_cast<xcb_window_t>(window->winId());
}

xcb_window_t Root(xcb_connection_t* connection)
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
}

// The values of a 32-bit property, empty when the window has none.
std::vector<std::uint32_t> Property(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property, xcb_atom_t type)
{
    const auto reply = Own(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, type, 0, 1024), nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* values = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {values, values + xcb_get_property_value_length(reply.get()) / 4};
}

void SetProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                 xcb_atom_t type, int format, std::uint32_t count, const void* data)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count,
                        data);
    xcb_flush(connection);
}

// A window manager that has gone leaves its _NET_SUPPORTED behind on the root
// window; only a running one keeps the window it names as its check, which
// names itself.
bool WindowManagerRuns(xcb_connection_t* connection)
{
    const xcb_atom_t check = Atom(connection, Name::SupportingWmCheck);
    const auto named = Property(connection, Root(connection), check, XCB_ATOM_WINDOW);
    if (named.size() != 1)
        return false;
    const auto itself = Property(connection, named[0], check, XCB_ATOM_WINDOW);
    return itself.size() == 1 && itself[0] == named[0];
}

bool WindowManagerSupports(xcb_connection_t* connection, xcb_atom_t hint)
{
    if (!WindowManagerRuns(connection))
        return false;
    const auto supported =
        Property(connection, Root(connection), Atom(connection, Name::NetSupported), XCB_ATOM_ATOM);
    return std::find(supported.begin(), supported.end(), hint) != supported.end();
}

std::vector<std::uint32_t> FrameExtentsOn(xcb_connection_t* connection, QWidget* window)
{
    return Property(connection, NativeWindow(window), Atom(connection, Name::FrameExtents),
                    XCB_ATOM_CARDINAL);
}

// The window manager's _NET_FRAME_EXTENTS as a border in the window's own
// pixels. Whether it can be a border on the screen is for the placement to
// judge; here only figures too large for any screen are turned away, before
// they overflow a QMargins.
std::optional<QMargins> AsBorder(const std::vector<std::uint32_t>& extents, QWidget* window)
{
    const auto tooLarge = [](std::uint32_t pixels) { return pixels > 0xFFFF; };
    if (extents.size() != 4 || std::any_of(extents.begin(), extents.end(), tooLarge))
        return std::nullopt;
    // Left, right, top, bottom, in device pixels.
    const qreal ratio = window->devicePixelRatioF();
    const auto scaled = [ratio](std::uint32_t pixels) { return qRound(pixels / ratio); };
    return QMargins(scaled(extents[0]), scaled(extents[2]), scaled(extents[1]), scaled(extents[3]));
}

// Windows waiting for the border that the window manager sets when it frames
// them, seen in the X events that reach the program.
class FrameExtentsWatch : public QAbstractNativeEventFilter
{
public:
    static FrameExtentsWatch& Instance()
    {
        static FrameExtentsWatch* const watch = [] {
            auto* created = new FrameExtentsWatch;
            qApp->installNativeEventFilter(created);
            return created;
        }();
        return *watch;
    }

    void Wait(QWidget* window, std::function<void(QMargins)> arrived)
    {
        std::erase_if(waiting_, [](const auto& entry) { return entry.second.window.isNull(); });
        waiting_[NativeWindow(window)] = {window, std::move(arrived)};
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        xcb_connection_t* connection = Connection();
        if (!connection || notify->atom != Atom(connection, Name::FrameExtents) ||
            notify->state != XCB_PROPERTY_NEW_VALUE)
            return false;
        const auto found = waiting_.find(notify->window);
        if (found == waiting_.end())
            return false;
        Waiting waiting = std::move(found->second);
        waiting_.erase(found);
        if (!waiting.window)
            return false;
        if (const auto border =
                AsBorder(FrameExtentsOn(connection, waiting.window), waiting.window))
            // Later, not in the middle of Qt's handling of X events.
            QMetaObject::invokeMethod(
                waiting.window,
                [arrived = std::move(waiting.arrived), border] { arrived(*border); },
                Qt::QueuedConnection);
        return false;
    }

private:
    struct Waiting
    {
        QPointer<QWidget> window;
        std::function<void(QMargins)> arrived;
    };
    std::map<xcb_window_t, Waiting> waiting_;
};

} // namespace

void KeepOutOfWindowLists(QWidget* window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return;
    // Qt adds its own states to these when it maps the window. KWin keeps a
    // window out of its switcher only when told so in a state of its own.
    const xcb_atom_t states[] = {Atom(connection, Name::SkipTaskbar),
                                 Atom(connection, Name::SkipPager),
                                 Atom(connection, Name::SkipSwitcher)};
    SetProperty(connection, NativeWindow(window), Atom(connection, Name::NetWmState), XCB_ATOM_ATOM,
                32, std::size(states), states);
}

void FixInPlace(QWidget* window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return;
    // Motif window manager hints: which functions and decorations are given.
    enum : std::uint32_t { Functions = 1, Decorations = 2, FunctionClose = 32 };
    const std::uint32_t hints[5] = {Functions | Decorations, FunctionClose, 0, 0, 0};
    const xcb_atom_t motifHints = Atom(connection, Name::MotifWmHints);
    SetProperty(connection, NativeWindow(window), motifHints, motifHints, 32, 5, hints);
}

void ClearName(QWidget* window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return;
    const xcb_window_t native = NativeWindow(window);
    SetProperty(connection, native, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0, "");
    SetProperty(connection, native, Atom(connection, Name::NetWmName),
                Atom(connection, Name::Utf8String), 8, 0, "");
}

std::optional<QMargins> FrameExtents(QWidget* window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return std::nullopt;
    // A window manager that left the question unanswered once will leave it
    // so again; each window would only wait for nothing.
    static bool leftUnanswered = false;
    const xcb_atom_t request = Atom(connection, Name::RequestFrameExtents);
    if (leftUnanswered || !WindowManagerSupports(connection, request))
        return std::nullopt;

    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = NativeWindow(window);
    message.type = request;
    xcb_send_event(connection, 0, Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    // The window manager answers by setting the property on the window, at
    // once where it answers at all.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(100);
    do {
        const auto extents = FrameExtentsOn(connection, window);
        if (!extents.empty())
            return AsBorder(extents, window);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < deadline);
    leftUnanswered = true;
    return std::nullopt;
}

void WhenFrameExtentsArrive(QWidget* window, std::function<void(QMargins)> arrived)
{
    if (Connection())
        FrameExtentsWatch::Instance().Wait(window, std::move(arrived));
}

std::optional<Server> OpenDisplay()
{
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> connection(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return std::nullopt;
    // Xlib keeps the resources on the first screen's root window.
    const auto reply = Own(xcb_get_property_reply(
        connection.get(),
        xcb_get_property(connection.get(), 0, Root(connection.get()), XCB_ATOM_RESOURCE_MANAGER,
                         XCB_ATOM_STRING, 0, 16384),
        nullptr));
    if (!reply || reply->format != 8)
        return Server{};
    const QByteArray resources(static_cast<const char*>(xcb_get_property_value(reply.get())),
                               xcb_get_property_value_length(reply.get()));
    for (const QByteArray& line : resources.split('\n')) {
        if (!line.startsWith("Xft.dpi:"))
            continue;
        bool isNumber = false;
        const double dpi = line.mid(8).trimmed().toDouble(&isNumber);
        if (isNumber)
            return Server{dpi};
    }
    return Server{};
}

#else

void KeepOutOfWindowLists(QWidget*) {}
void FixInPlace(QWidget*) {}
void ClearName(QWidget*) {}
std::optional<QMargins> FrameExtents(QWidget*)
{
    return std::nullopt;
}
void WhenFrameExtentsArrive(QWidget*, std::function<void(QMargins)>) {}
std::optional<Server> OpenDisplay()
{
    return std::nullopt;
}

#endif

} // namespace morvantel::x11
