#pragma once

#include <QByteArray>

#include <chrono>
#include <optional>

namespace morvantel::x11 {

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
