#pragma once

#include <QColor>

#include <optional>

namespace morvantel::win32 {

// The DPI Windows draws its desktop at (96 at 100 %, 120 at 125 %, 144 at
// 150 %), as it tells programs that follow the DPI, read before Qt starts:
// the desktop's font DPI. Nothing where Windows does not tell.
std::optional<double> SystemDpi();

// Colour number `index` of the user's scheme, as Windows draws it
// (COLOR_WINDOW is 5, COLOR_MENUTEXT 7, COLOR_ACTIVEBORDER 10).
QColor SchemeColour(int index);

} // namespace morvantel::win32
