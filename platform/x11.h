#pragma once

#include <QByteArray>
#include <QMargins>

#include <chrono>
#include <functional>
#include <optional>

class QWidget;

namespace morvantel::x11 {

// What the window manager is told about a window before its first map, which
// Qt cannot say. Each call creates the window's native window, so it comes
// after the window's flags are final; off X11 each does nothing.

// No taskbar button, no place in a pager and none in the window switcher.
void KeepOutOfWindowLists(QWidget* window);
// No decorations, and the window manager may close the window but neither move
// nor resize it.
void FixInPlace(QWidget* window);
// An empty name, where Qt would name an untitled window after the program.
void ClearName(QWidget* window);

// The border the window manager will put around the window, in the window's
// own pixels, asked for before the map. Nothing where no window manager
// answers soon, or where its answer cannot be a border.
std::optional<QMargins> FrameExtents(QWidget* window);

// Calls back once, with the border, when the window manager puts it on the
// window after all, after the map.
void WhenFrameExtentsArrive(QWidget* window, std::function<void(QMargins)> arrived);

// Where the window manager ends while the program runs, as when it is killed,
// the program stops asking it for anything and takes the keyboard focus back
// itself, into the window that had it; a manager that starts later is
// followed as well.
void FollowWindowManager();

// What the program learns of the X server over a connection of its own, made
// before Qt starts: that the display opens and answers within the patience
// given, and the font DPI the desktop gives X11 programs, Xft.dpi among the
// resources of the display's screen, where it sets one.
struct Server
{
    enum class Reach { Opened, Refused, Silent } reach = Reach::Refused;
    std::optional<double> fontDpi;
};
Server OpenDisplay(std::chrono::milliseconds patience);

// The font DPI among X resources such as a desktop sets (Xft.dpi), read as
// Xlib reads them, with wildcards, comments and spacing; nothing where they
// set none that is a number.
std::optional<double> FontDpiIn(const QByteArray& resources);

} // namespace morvantel::x11
