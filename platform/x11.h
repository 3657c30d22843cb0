#pragma once

#include <QMargins>

#include <optional>

class QWidget;

namespace morvantel::x11 {

// What the window manager is told about a window before its first map, which
// Qt cannot say. Each call creates the window's native window, so it comes
// after the window's flags are final; off X11 each does nothing.

// No taskbar button and no place in a pager.
void KeepOffTaskbar(QWidget* window);
// No decorations, and the window manager may close the window but neither move
// nor resize it.
void FixInPlace(QWidget* window);
// An empty name, where Qt would name an untitled window after the program.
void ClearName(QWidget* window);

// The border the window manager will put around the window, asked for before
// the map; nothing when no window manager answers.
std::optional<QMargins> FrameExtents(QWidget* window);

} // namespace morvantel::x11
