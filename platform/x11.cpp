#include "platform/x11.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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
    MotifWmHints,
    NetWmName,
    Utf8String,
    NetSupported,
    RequestFrameExtents,
    FrameExtents,
};
constexpr const char* atomNames[] = {
    "_NET_WM_STATE",
    "_NET_WM_STATE_SKIP_TASKBAR",
    "_NET_WM_STATE_SKIP_PAGER",
    "_MOTIF_WM_HINTS",
    "_NET_WM_NAME",
    "UTF8_STRING",
    "_NET_SUPPORTED",
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

bool WindowManagerSupports(xcb_connection_t* connection, xcb_atom_t hint)
{
    const auto supported =
        Property(connection, Root(connection), Atom(connection, Name::NetSupported), XCB_ATOM_ATOM);
    return std::find(supported.begin(), supported.end(), hint) != supported.end();
}

} // namespace

void KeepOffTaskbar(QWidget* window)
{
    xcb_connection_t* connection = Connection();
    if (!connection)
        return;
    // Qt adds its own states to these when it maps the window.
    const xcb_atom_t states[] = {Atom(connection, Name::SkipTaskbar),
                                 Atom(connection, Name::SkipPager)};
    SetProperty(connection, NativeWindow(window), Atom(connection, Name::NetWmState), XCB_ATOM_ATOM,
                32, 2, states);
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
    const xcb_atom_t request = Atom(connection, Name::RequestFrameExtents);
    if (!WindowManagerSupports(connection, request))
        return std::nullopt;

    const xcb_window_t native = NativeWindow(window);
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = native;
    message.type = request;
    xcb_send_event(connection, 0, Root(connection),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);

    // The window manager answers by setting the property on the window.
    const xcb_atom_t extents = Atom(connection, Name::FrameExtents);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    do {
        const auto border = Property(connection, native, extents, XCB_ATOM_CARDINAL);
        if (border.size() == 4) {
            // Left, right, top, bottom, in device pixels.
            const qreal ratio = window->devicePixelRatioF();
            const auto scaled = [ratio](std::uint32_t pixels) { return qRound(pixels / ratio); };
            return QMargins(scaled(border[0]), scaled(border[2]), scaled(border[1]),
                            scaled(border[3]));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

#else

void KeepOffTaskbar(QWidget*) {}
void FixInPlace(QWidget*) {}
void ClearName(QWidget*) {}
std::optional<QMargins> FrameExtents(QWidget*)
{
    return std::nullopt;
}

#endif

} // namespace morvantel::x11
