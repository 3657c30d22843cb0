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

// The whole scale the windows are drawn at on a desktop of this font DPI:
// 1 up to 143, 2 from 144 to 239, and so on, up to 8.
int WholeScaleAt(double fontDpi);

// Scale factors as QT_SCALE_FACTOR or QT_SCREEN_SCALE_FACTORS give them (a
// factor; or factors, each perhaps after a screen's name and '=', between
// semicolons), each rounded to a whole one, 1.5 to 2. Empty where any is no
// finite number from 1 to 8, as 0, -2, nan, inf or 1e9: such a value counts
// as unset.
QByteArray WholeScaleFactors(const QByteArray& factors);

} // namespace morvantel
