#pragma once

class QWidget;

namespace morvantel {

// A fixed border with a title bar, the program icon, a close box and no
// minimise or maximise button; the window cannot be resized. A window without
// a taskbar button has no place in the desktop's window lists either.
enum class TaskbarButton { Shown, Hidden };
void SetFixedBorder(QWidget* window, TaskbarButton taskbar);

// Puts a designed client area into a window of its own with a fixed dialog
// frame and no title bar, and returns that window. The program draws the
// frame, so it is alike under every window manager. The window has no icon,
// no taskbar button and no name; the user can neither move nor resize it.
//
// It is a plain window, not a Qt::SplashScreen: window managers place a
// splash screen themselves, keep it above every other window and give it no
// keyboard focus, yet this window is centred as designed and waits for a key.
QWidget* InDialogFrame(QWidget* clientArea);

} // namespace morvantel
