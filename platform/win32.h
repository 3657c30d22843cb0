#pragma once

#include <QByteArray>
#include <QColor>

#include <optional>

namespace morvantel::win32 {

// The DPI Windows draws its desktop at (96 at 100 %, 120 at 125 %, 144 at
// 150 %), as it tells programs that follow the DPI, read before Qt starts:
// the desktop's font DPI. Nothing where Windows does not tell.
std::optional<double> SystemDpi();

// The platform Qt is to start on, as QT_QPA_PLATFORM names it, given the one
// chosen (none, or one a test names): Windows' own, drawing as the platform
// the windows were designed on and as Qt did before 6.5 and 6.8, which follow
// dark mode with dark buttons and draw text through DirectWrite, wider and
// softer: text through GDI, and the design's colours in dark mode too.
QByteArray QtPlatform(const QByteArray& chosen);

// Colour number `index` of the user's scheme, as Windows draws it
// (COLOR_WINDOW is 5, COLOR_MENUTEXT 7, COLOR_ACTIVEBORDER 10).
QColor SchemeColour(int index);

} // namespace morvantel::win32
