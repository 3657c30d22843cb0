#include "app/startup.h"

#include "platform/x11.h"

#include <QByteArrayList>
#include <QGuiApplication>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace morvantel {
namespace {

// Qt would abort with advice to reinstall the program; a person starting it
// where no display is reachable needs to hear that instead.
bool HasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    std::fputs("morvantel: no display to show its windows on (DISPLAY is not set)\n", stderr);
    return false;
#else
    return true;
#endif
}

// The windows are laid out as at 96 dots per inch and drawn at a whole scale,
// text included: at a fractional one some of their one-pixel edges would fall
// between device pixels. Qt derives the scale from the font DPI and rounds
// it, but then sets the text at the DPI itself, inside windows of the
// rounded size. So the program gives Qt the font DPI of the whole scale, 96
// for each step, and rounds the factors the user gives Qt, dropping those
// that are no scale at all.
void ScaleByWholeFactors()
{
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    for (const char* variable : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS"}) {
        const QByteArray whole = WholeScaleFactors(qgetenv(variable));
        if (whole.isEmpty())
            qunsetenv(variable);
        else
            qputenv(variable, whole);
    }
    // Qt would take the screen's size in millimetres for a DPI of its own.
    qunsetenv("QT_USE_PHYSICAL_DPI");
    std::optional<double> fontDpi;
    bool isNumber = false;
    if (const double chosen = qEnvironmentVariable("QT_FONT_DPI").toDouble(&isNumber); isNumber)
        fontDpi = chosen;
    else if (qgetenv("QT_QPA_PLATFORM").startsWith("xcb"))
        fontDpi = x11::DesktopFontDpi();
    // Where the user turned Qt's scaling off, the windows are drawn at 1.
    const QByteArray scaling = qgetenv("QT_ENABLE_HIGHDPI_SCALING").toLower();
    if (scaling == "0" || scaling == "false")
        fontDpi = 96;
    if (fontDpi)
        qputenv("QT_FONT_DPI", QByteArray::number(96 * WholeScaleAt(*fontDpi)));
}

} // namespace

int WholeScaleAt(double fontDpi)
{
    if (!std::isfinite(fontDpi))
        return 1;
    return int(std::clamp(std::lround(fontDpi / 96), 1L, 8L));
}

QByteArray WholeScaleFactors(const QByteArray& factors)
{
    QByteArrayList whole;
    for (const QByteArray& entry : factors.split(';')) {
        // A factor, or a screen's name, '=' and its factor.
        const qsizetype equals = entry.lastIndexOf('=');
        bool isNumber = false;
        const double factor = entry.mid(equals + 1).toDouble(&isNumber);
        if (!isNumber || !std::isfinite(factor) || factor < 1 || factor > 8)
            return {};
        whole << entry.left(equals + 1) + QByteArray::number(std::lround(factor));
    }
    return whole.join(';');
}

QByteArray PlatformFor(const QByteArray& chosen, const QByteArray& x11Display,
                       const QByteArray& waylandDisplay)
{
    if (!chosen.isEmpty())
        return chosen;
    // Wayland stays the way out where the X server cannot be reached.
    if (!x11Display.isEmpty())
        return waylandDisplay.isEmpty() ? "xcb" : "xcb;wayland";
    if (!waylandDisplay.isEmpty())
        return "wayland";
    return {};
}

bool PrepareStart()
{
    if (!HasDisplay())
        return false;
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QByteArray platform =
        PlatformFor(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
#endif
    ScaleByWholeFactors();
    return true;
}

} // namespace morvantel
