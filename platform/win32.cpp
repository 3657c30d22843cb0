#include "platform/win32.h"

#include "platform/display.h"
#include "platform/windowing.h"

#include <QMargins>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <windows.h>

namespace morvantel {

namespace {

// The hidden window that owns the windows without a taskbar button: Windows
// gives an owned window none, and no place in Alt+Tab, and leaves its frame
// as it is, where a tool window would get a narrow title bar.
QWindow* HiddenOwner()
{
    static QWindow* const owner = [] {
        auto* window = new QWindow;
        window->create();
        return window;
    }();
    return owner;
}

// The frame around the window as Windows has drawn it, in the window's own
// pixels.
QMargins BorderGot(QWidget* window)
{
    const auto handle = reinterpret_cast<HWND>(window->winId());
    RECT whole{0, 0, 0, 0};
    RECT client{0, 0, 0, 0};
    POINT origin{0, 0};
    if (!GetWindowRect(handle, &whole) || !GetClientRect(handle, &client) ||
        !ClientToScreen(handle, &origin))
        return {};
    const qreal ratio = window->devicePixelRatioF();
    return QMargins(qRound((origin.x - whole.left) / ratio), qRound((origin.y - whole.top) / ratio),
                    qRound((whole.right - origin.x - client.right) / ratio),
                    qRound((whole.bottom - origin.y - client.bottom) / ratio));
}

} // namespace

namespace windowing {

void KeepOutOfWindowLists(QWidget* window)
{
    window->winId();
    window->windowHandle()->setTransientParent(HiddenOwner());
}

// A window without a frame has no title bar to be dragged by.
void FixInPlace(QWidget*) {}

// Qt names an untitled window after the program on Windows too, where window
// lists and tools read the window's text.
void ClearName(QWidget* window)
{
    SetWindowTextW(reinterpret_cast<HWND>(window->winId()), L"");
}

// Windows knows the frame from the window's style before the window shows.
// Asked itself: Qt counts a sizing border in that a fixed-size window does
// not have, and answers with a negative border.
std::optional<QMargins> FrameBorder(QWidget* window)
{
    const auto handle = reinterpret_cast<HWND>(window->winId());
    const auto style = static_cast<DWORD>(GetWindowLongW(handle, GWL_STYLE));
    const auto extendedStyle = static_cast<DWORD>(GetWindowLongW(handle, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    if (!AdjustWindowRectExForDpi(&frame, style, FALSE, extendedStyle, GetDpiForWindow(handle)))
        return std::nullopt;
    // Windows counts in the screen's pixels, Qt in the window's own.
    const qreal ratio = window->devicePixelRatioF();
    return QMargins(qRound(-frame.left / ratio), qRound(-frame.top / ratio),
                    qRound(frame.right / ratio), qRound(frame.bottom / ratio));
}

// Windows gives the window the frame its style names; Wine 10 at times draws
// a taller title bar than it told. Read once the window shows.
void WhenFrameBorderChanges(QWidget* window, QMargins known, std::function<void(QMargins)> changed)
{
    QWindow* handle = window->windowHandle();
    if (!handle)
        return;
    auto* shown = new QObject(handle);
    QObject::connect(handle, &QWindow::visibleChanged, shown,
                     [window, known, changed = std::move(changed), shown](bool visible) {
                         if (!visible)
                             return;
                         shown->deleteLater();
                         const QMargins got = BorderGot(window);
                         if (got != known)
                             changed(got);
                     });
}

} // namespace windowing

namespace display {

namespace {

// The DPI Windows draws its desktop at (96 at 100 %, 120 at 125 %, 144 at
// 150 %), as it tells programs that follow the DPI: the desktop's font DPI.
// Nothing where Windows does not tell.
std::optional<double> SystemDpi()
{
    // Windows tells a program that does not say it follows the DPI that the
    // desktop has 96; this thread says so until it has asked.
    const DPI_AWARENESS_CONTEXT before =
        SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_SYSTEM_AWARE);
    const UINT dpi = GetDpiForSystem();
    if (before)
        SetThreadDpiAwarenessContext(before);
    return dpi ? std::optional<double>(dpi) : std::nullopt;
}

} // namespace

// Windows has one display, which opens wherever the program runs. Qt draws
// on it as on the platform the windows were designed on, and as Qt did
// before 6.5 and 6.8, which follow dark mode with dark buttons and draw text
// through DirectWrite, wider and softer: text through GDI, and the design's
// colours in dark mode too. A platform a test names stays as it is.
Choice Choose(const QByteArray& chosen)
{
    const bool named = !chosen.isEmpty() && chosen != "windows";
    return {named ? chosen : "windows:fontengine=gdi:darkmode=0", {}, SystemDpi()};
}

} // namespace display

namespace win32 {

QColor SchemeColour(int index)
{
    const COLORREF colour = GetSysColor(index);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

} // namespace win32

} // namespace morvantel
