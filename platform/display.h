#pragma once

#include <QByteArray>

#include <optional>

namespace morvantel::display {

// The display the windows are shown on, settled before Qt starts: on Linux
// the X server, else a Wayland compositor (display_x11.cpp); on Windows its
// one display (win32.cpp).
struct Choice
{
    // The platform Qt is to start, as QT_QPA_PLATFORM names it; empty where
    // no display opens.
    QByteArray platform;
    // Why none opens, in the program's own words.
    QByteArray problem;
    // The font DPI the desktop gives its programs, where it tells one.
    std::optional<double> desktopFontDpi;
};

// The display to show the windows on, given the platform the user chose
// (QT_QPA_PLATFORM), or none.
Choice Choose(const QByteArray& chosen);

} // namespace morvantel::display
