#pragma once

#include <QMargins>

#include <functional>
#include <optional>

class QWidget;

namespace morvantel::windowing {

// What the windowing system is told about a window before it first shows,
// which Qt cannot say: on X11 its window manager (x11.cpp), on Windows the
// shell (win32.cpp). Each call creates the window's native window, so it
// comes after the window's flags are final; where a system has no such
// thing, a call does nothing.

// No taskbar button, no place in a pager and none in the window switcher.
void KeepOutOfWindowLists(QWidget* window);
// No decorations, and the window manager may close the window but neither move
// nor resize it.
void FixInPlace(QWidget* window);
// An empty name, where Qt would name an untitled window after the program.
void ClearName(QWidget* window);

// The border the window manager will put around the window, in the window's
// own pixels, known before the window shows. Nothing where no window manager
// answers soon, or where its answer cannot be a border.
std::optional<QMargins> FrameBorder(QWidget* window);

// Calls back once, with the border, when the window manager puts another
// border on the window than the one known: one that told none before the
// window showed, or told another than it then puts on (mutter's frames client
// answers with no border, and sets the real one once the window is mapped;
// Wine 10 at times draws a taller title bar than Windows' sums say).
void WhenFrameBorderChanges(QWidget* window, QMargins known, std::function<void(QMargins)> changed);

} // namespace morvantel::windowing
