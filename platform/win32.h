#pragma once

#include <QColor>

namespace morvantel::win32 {

// Colour number `index` of the user's scheme, as Windows draws it
// (COLOR_WINDOW is 5, COLOR_MENUTEXT 7, COLOR_ACTIVEBORDER 10).
QColor SchemeColour(int index);

} // namespace morvantel::win32
