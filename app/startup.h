#pragma once

#include <QByteArray>

namespace morvantel {

// What the program settles before QApplication exists. False, once the user
// has been told why, where there is no display to show the windows on.
bool PrepareStart();

// The Qt platform to run on: the one the user chose, else X11 wherever there
// is an X server, XWayland included, else Wayland. Only X11 lets the program
// place its windows and keep them off the taskbar. Empty where none applies.
QByteArray PlatformFor(const QByteArray& chosen, const QByteArray& x11Display,
                       const QByteArray& waylandDisplay);

} // namespace morvantel
